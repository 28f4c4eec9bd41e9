#pragma once

#include <QByteArray>
#include <QString>

namespace wrenlow {

// Creates the folder `path` (and its parents) or throws PlatformError naming the folder and the reason.
void ensureFolder(const QString &path);

// Writes `bytes` to `path` so that readers see either the old file or the whole new one, never a part.
// Creates the parent folders first; throws PlatformError naming the path and the reason on any failure.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace wrenlow
