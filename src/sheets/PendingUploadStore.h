#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace wrenlow {

// The offline queue of sheet uploads: one JSON file per payload that could not be delivered, in one folder.
// The folder is the whole queue; file names start with the local time of saving, so they list oldest first.
class PendingUploadStore
{
public:
    // Without a folder, the default under the user's home. Nothing is created until the first save.
    explicit PendingUploadStore(std::optional<QString> directory = std::nullopt);

    // The store on the default folder, made on first use.
    static const PendingUploadStore &shared();

    const QString &directory() const { return m_directory; }

    // Writes the payload whole as a new file and returns its path; throws PlatformError.
    QString save(const QJsonObject &payload) const;
    // The paths of the queued files, oldest first; empty when the folder cannot be listed.
    QStringList files() const;
    qsizetype count() const;
    // Throws PlatformError when the file cannot be read or is not JSON, and
    // SheetsClientError::invalidResponse when it holds JSON that is not an object.
    QJsonObject read(const QString &file) const;
    // Throws PlatformError when the file cannot be removed (also when it is already gone).
    void remove(const QString &file) const;
    // Moves a file that cannot be read out of the queue without losing its bytes, so that one bad file does not
    // block the uploads behind it. Returns the new path; throws PlatformError when the rename fails.
    QString setAside(const QString &file) const;

private:
    QString m_directory;
};

} // namespace wrenlow
