#include "audio/AudioPlatform.h"

#include "audio/QtSampleRecorder.h"
#include "audio/QtSpeakerOutput.h"
#include "common/ShellQuote.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QCoroTimer>
#include <QFileInfo>
#include <QMediaDevices>

namespace wrenlow {

namespace {

QCoro::Task<bool> inputDeviceAccess()
{
    // Qt grants no other permission to ask for: the microphone may be used when there is one.
    co_return !QMediaDevices::audioInputs().isEmpty();
}

QString samplePlayerProgram()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/afplay");
#else
    // Our own player is installed next to the application; the developer tool and the tests run it from where
    // the build put it.
    const QString besideUs = QCoreApplication::instance()
                                 ? QCoreApplication::applicationDirPath() + QStringLiteral("/wrenlow-sample-player")
                                 : QString();
    if (!besideUs.isEmpty() && QFileInfo(besideUs).isExecutable())
        return shellQuoted(besideUs);
    return shellQuoted(QStringLiteral(WRENLOW_SAMPLE_PLAYER_BUILD_PATH));
#endif
}

} // namespace

AudioPlatform AudioPlatform::system()
{
    AudioPlatform platform;
    platform.speakerOutput = [] { return std::make_unique<QtSpeakerOutput>(); };
    platform.microphoneAccess = inputDeviceAccess;
    platform.sampleRecorder = [](const QString &file) { return std::make_unique<QtSampleRecorder>(file); };
    platform.sleep = [](std::chrono::milliseconds duration) { return QCoro::sleepFor(duration); };
    platform.samplePlayer = samplePlayerProgram();
    return platform;
}

} // namespace wrenlow
