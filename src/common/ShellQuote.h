#pragma once

#include <QString>

namespace wrenlow {

// Wraps text in single quotes for a POSIX shell so that it stays one word whatever it holds.
QString shellQuoted(const QString &text);

} // namespace wrenlow
