#include "common/AtomicFile.h"

#include "common/WrenlowError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace wrenlow {

void ensureFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return;
    if (info.exists())
        throw PlatformError(QStringLiteral("Could not create the folder “%1”: a file with that name is in the way.")
                                .arg(QDir::toNativeSeparators(path)));
    if (!QDir().mkpath(path)) {
        // mkpath gives no reason; find the first ancestor that is not a folder to say why.
        QString blocker = path;
        for (QFileInfo step(path); !step.isRoot(); step = QFileInfo(step.absolutePath())) {
            if (step.exists() && !step.isDir()) {
                blocker = step.absoluteFilePath();
                break;
            }
        }
        const QString why = blocker == path
                                ? QStringLiteral("permission denied or the disk is not writable")
                                : QStringLiteral("“%1” is a file, not a folder").arg(QDir::toNativeSeparators(blocker));
        throw PlatformError(
            QStringLiteral("Could not create the folder “%1”: %2.").arg(QDir::toNativeSeparators(path), why));
    }
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    ensureFolder(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const auto fail = [&](const QString &reason) {
        file.cancelWriting();
        return PlatformError(QStringLiteral("Could not write “%1”: %2.").arg(QDir::toNativeSeparators(path), reason));
    };
    // Unbuffered, so that a full disk shows at the write with the system's reason: through Qt's buffer the
    // loss surfaced only at commit, which then reported success for a cut-off file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw fail(file.errorString());
    // A short write says nothing; the next one fails with the reason ("No space left on device").
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            throw fail(file.errorString());
        written += step;
    }
    if (!file.commit())
        throw PlatformError(
            QStringLiteral("Could not write “%1”: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace wrenlow
