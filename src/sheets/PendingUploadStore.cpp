#include "sheets/PendingUploadStore.h"

#include "common/AtomicFile.h"
#include "common/WrenlowError.h"
#include "sheets/SheetsClientError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QUuid>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace wrenlow {

namespace {

QString defaultDirectory()
{
    return QDir(QDir::homePath())
        .filePath(QStringLiteral("Library/Application Support/Wrenlow Zel Mac/PendingUploads"));
}

QString newFileName(const QDateTime &now)
{
    // The C locale keeps the digits ASCII, so that names sort in saving order whatever the region is.
    const QString moment = QLocale::c().toString(now, u"yyyyMMdd-HHmmsszzz");
    return u"pending-" + moment + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces).toLower() + u".json";
}

QString failureText(const char *action, const QString &file, const QString &reason)
{
    return QStringLiteral("Could not %1 “%2”: %3.").arg(QLatin1String(action), QDir::toNativeSeparators(file), reason);
}

[[noreturn]] void fail(const char *action, const QString &file, const QString &reason)
{
    throw PlatformError(failureText(action, file, reason));
}

[[noreturn]] void refuseUnusable(const QString &file, const QString &reason)
{
    throw UnusablePendingFile(failureText("read", file, reason));
}

} // namespace

PendingUploadStore::PendingUploadStore(std::optional<QString> directory, Clock clock)
    : m_directory(directory.value_or(defaultDirectory()))
    , m_clock(std::move(clock))
{}

const PendingUploadStore &PendingUploadStore::shared()
{
    static const PendingUploadStore store;
    return store;
}

QString PendingUploadStore::save(const QJsonObject &payload) const
{
    ensureFolder(m_directory);
    const QString file = QDir(m_directory).filePath(newFileName(m_clock()));
    writeFileAtomically(file, QJsonDocument(payload).toJson(QJsonDocument::Indented));
    return file;
}

QStringList PendingUploadStore::files() const
{
    // Without QDir::Hidden, names starting with a full stop stay out, like editors' and sync tools' droppings;
    // without QDir::System, so do pipes and devices, which would block or never end a read.
    const QDir folder(m_directory);
    QStringList names = folder.entryList(QDir::Files | QDir::NoSymLinks, QDir::Unsorted);
    names.removeIf([](const QString &name) { return QFileInfo(name).suffix().toLower() != u"json"; });
    std::sort(names.begin(), names.end());
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : std::as_const(names))
        paths.append(folder.filePath(name));
    return paths;
}

qsizetype PendingUploadStore::count() const
{
    return files().size();
}

QJsonObject PendingUploadStore::read(const QString &file) const
{
    // Opened without following a link or waiting for a writer, then checked on the open file itself, so that
    // nothing can be swapped in between the check and the read.
    const int descriptor = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        fail("read", file, qt_error_string(errno));
    QFile input;
    input.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        refuseUnusable(file, QStringLiteral("it is not a regular file"));
    if (status.st_size > maxFileBytes)
        refuseUnusable(file, QStringLiteral("at %1 bytes it is too large for a queued upload").arg(status.st_size));
    const QByteArray bytes = input.read(maxFileBytes + 1);
    if (input.error() != QFileDevice::NoError)
        fail("read", file, input.errorString());
    if (bytes.size() > maxFileBytes)
        refuseUnusable(file, QStringLiteral("it is too large for a queued upload"));

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        refuseUnusable(file, QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        throw SheetsClientError::invalidResponse();
    return document.object();
}

void PendingUploadStore::remove(const QString &file) const
{
    QFile target(file);
    if (!target.remove())
        fail("remove", file, target.errorString());
}

QString PendingUploadStore::setAside(const QString &file) const
{
    // A suffix after ".json" takes the file out of the listing. Rename never replaces an existing file, so an
    // earlier file set aside under the same name keeps its bytes and this one takes the next free name.
    QFile source(file);
    for (int number = 1; number <= 1000; ++number) {
        const QString target = number == 1 ? file + QStringLiteral(".unreadable")
                                           : QStringLiteral("%1.%2.unreadable").arg(file).arg(number);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        if (!source.rename(target))
            fail("set aside", file, source.errorString());
        return target;
    }
    fail("set aside", file, QStringLiteral("every name for it is taken"));
}

} // namespace wrenlow
