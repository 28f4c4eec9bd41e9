#pragma once

#include "common/WrenlowError.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace wrenlow {

// A queued file that can never become a payload: not a regular file, too large, or not JSON. Waiting will not mend
// it, unlike a file that cannot be opened or read just now.
class UnusablePendingFile : public PlatformError
{
public:
    using PlatformError::PlatformError;
};

// The offline queue of sheet uploads: one JSON file per payload that could not be delivered, in one folder.
// The folder is the whole queue; file names start with the local time of saving, so they list oldest first.
class PendingUploadStore
{
public:
    // The local time that names a new file.
    using Clock = std::function<QDateTime()>;
    // A queued payload is a few kilobytes; anything beyond this is not one and is refused unread.
    static constexpr qint64 maxFileBytes = 16 * 1024 * 1024;

    // Without a folder, the default under the user's home. Nothing is created until the first save.
    explicit PendingUploadStore(
        std::optional<QString> directory = std::nullopt, Clock clock = [] { return QDateTime::currentDateTime(); });

    // The store on the default folder, made on first use.
    static const PendingUploadStore &shared();

    const QString &directory() const { return m_directory; }

    // Writes the payload whole as a new file and returns its path; throws PlatformError.
    QString save(const QJsonObject &payload) const;
    // The paths of the queued files, oldest first: regular files named *.json (no links, pipes or devices);
    // empty when the folder cannot be listed.
    QStringList files() const;
    qsizetype count() const;
    // Reads at most maxFileBytes. Throws UnusablePendingFile when the file is not a regular file, is larger than
    // maxFileBytes or is not JSON, PlatformError when it cannot be opened or read, and
    // SheetsClientError::invalidResponse when it holds JSON that is not an object.
    QJsonObject read(const QString &file) const;
    // Throws PlatformError when the file cannot be removed (also when it is already gone).
    void remove(const QString &file) const;
    // Moves a file that cannot be read out of the queue without losing its bytes, so that one bad file does not
    // block the uploads behind it: "<name>.unreadable", or "<name>.2.unreadable" and so on when that is taken.
    // Returns the new path; throws PlatformError when the rename fails.
    QString setAside(const QString &file) const;

private:
    QString m_directory;
    Clock m_clock;
};

} // namespace wrenlow
