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

namespace wrenlow {

namespace {

QString defaultDirectory()
{
    return QDir(QDir::homePath())
        .filePath(QStringLiteral("Library/Application Support/Wrenlow Zel Mac/PendingUploads"));
}

QString newFileName()
{
    // The C locale keeps the digits ASCII, so that names sort in saving order whatever the region is.
    const QString moment = QLocale::c().toString(QDateTime::currentDateTime(), u"yyyyMMdd-HHmmsszzz");
    return u"pending-" + moment + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces).toLower() + u".json";
}

[[noreturn]] void fail(const char *action, const QString &file, const QString &reason)
{
    throw PlatformError(
        QStringLiteral("Could not %1 “%2”: %3.").arg(QLatin1String(action), QDir::toNativeSeparators(file), reason));
}

} // namespace

PendingUploadStore::PendingUploadStore(std::optional<QString> directory)
    : m_directory(directory.value_or(defaultDirectory()))
{}

const PendingUploadStore &PendingUploadStore::shared()
{
    static const PendingUploadStore store;
    return store;
}

QString PendingUploadStore::save(const QJsonObject &payload) const
{
    ensureFolder(m_directory);
    const QString file = QDir(m_directory).filePath(newFileName());
    writeFileAtomically(file, QJsonDocument(payload).toJson(QJsonDocument::Indented));
    return file;
}

QStringList PendingUploadStore::files() const
{
    // Without QDir::Hidden, names starting with a full stop stay out, like editors' and sync tools' droppings.
    const QDir folder(m_directory);
    QStringList names = folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
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
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        fail("read", file, input.errorString());
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        fail("read", file, input.errorString());

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        fail("read", file, QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset));
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
    // A suffix after ".json" takes the file out of the listing; rename never replaces an existing file.
    const QString target = file + QStringLiteral(".unreadable");
    QFile source(file);
    if (!source.rename(target))
        fail("set aside", file, source.errorString());
    return target;
}

} // namespace wrenlow
