#include "audio/MicrophoneSample.h"

#include "common/WrenlowError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace wrenlow {

namespace {

// A real folder (not a link to one) owned by this user that nobody else can write into.
bool isPrivateFolder(const QString &path)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

QString microphoneSamplePath()
{
    const QString fileName = QString::fromUtf16(microphoneSampleFileName);
    const QString temporary = QDir::tempPath();
    // Qt gives no path at all when TMPDIR names a missing folder; the subfolder would then land in "/".
    if (temporary.isEmpty())
        throw PlatformError(
            QStringLiteral("The temporary folder %1 does not exist.").arg(qEnvironmentVariable("TMPDIR")));
    if (isPrivateFolder(temporary))
        return temporary + u'/' + fileName;

    const QString folder = temporary + u"/wrenlow-" + QString::number(::getuid());
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0) {
        const int reason = errno;
        if (reason != EEXIST)
            throw PlatformError(QStringLiteral("The folder %1 for the microphone sample cannot be made: %2")
                                    .arg(folder, qt_error_string(reason)));
    }
    if (!isPrivateFolder(folder))
        throw PlatformError(
            QStringLiteral("The folder %1 for the microphone sample is not private to this user.").arg(folder));
    return folder + u'/' + fileName;
}

} // namespace wrenlow
