#pragma once

#include <QString>

namespace wrenlow {

// Trims blanks and tabs (every Unicode space separator and the tab) from both ends but keeps line breaks, unlike
// QString::trimmed: the rule by which the pieces of a "|"-separated row value are cleaned.
QString trimmedOfBlanks(const QString &text);

} // namespace wrenlow
