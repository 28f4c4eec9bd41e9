// wrenlow-sample-player FILE: plays one audio file on the default output and exits 0 once it has been played to
// its end. Any failure, and a machine without an audio output, ends it with a non-zero status and the reason on
// standard error. The microphone test runs it on Linux, where the system brings no command-line player.
#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include <cstdio>

namespace {

constexpr int failedStatus = 1;
constexpr int usageStatus = 2;

int fail(const QString &reason, int status = failedStatus)
{
    std::fputs(reason.toLocal8Bit().append('\n').constData(), stderr);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 1)
        return fail(QStringLiteral("usage: wrenlow-sample-player FILE"), usageStatus);
    const QFileInfo file(arguments.first());
    if (!file.isFile() || !file.isReadable())
        return fail(QStringLiteral("Cannot read %1").arg(file.filePath()));
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return fail(QStringLiteral("No audio output device is available."));

    QAudioOutput output(device);
    QMediaPlayer player;
    player.setAudioOutput(&output);
    // Queued, so that a verdict reached before the event loop runs still ends it.
    QObject::connect(
        &player, &QMediaPlayer::mediaStatusChanged, &app,
        [&](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia)
                QCoreApplication::exit(0);
            else if (status == QMediaPlayer::InvalidMedia)
                QCoreApplication::exit(fail(QStringLiteral("%1 is not playable audio.").arg(file.filePath())));
        },
        Qt::QueuedConnection);
    QObject::connect(
        &player, &QMediaPlayer::errorOccurred, &app,
        [](QMediaPlayer::Error, const QString &reason) { QCoreApplication::exit(fail(reason)); }, Qt::QueuedConnection);
    player.setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    player.play();
    return QCoreApplication::exec();
}
