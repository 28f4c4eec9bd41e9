#include "audio/AudioPlatform.h"

#include "audio/QtSampleRecorder.h"
#include "audio/QtSpeakerOutput.h"
#include "common/PreciseWait.h"
#include "common/ShellQuote.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>

// Qt 6.5 brought the platforms' permission requests; Qt 6.4 has none.
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#if QT_CONFIG(permissions)
#define WRENLOW_ASKS_MICROPHONE_PERMISSION 1
#include <QCoroFuture>
#include <QPermissions>
#include <QPromise>

#include <memory>
#endif
#endif

namespace wrenlow {

namespace {

#if WRENLOW_ASKS_MICROPHONE_PERMISSION
// The system's answer for this application. macOS asks the user once (with the bundle's usage text) and
// remembers; platforms without such permissions grant at once.
QCoro::Task<bool> microphonePermission()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        co_return false; // nobody to ask on behalf of
    const QMicrophonePermission permission;
    switch (application->checkPermission(permission)) {
    case Qt::PermissionStatus::Granted:
        co_return true;
    case Qt::PermissionStatus::Denied:
        co_return false;
    case Qt::PermissionStatus::Undetermined:
        break;
    }
    // The answer arrives later on the main thread; if the application goes first, the promise ends unanswered.
    struct Answer
    {
        QPromise<void> promise;
        bool granted = false;
    };
    const auto answer = std::make_shared<Answer>();
    const QFuture<void> answered = answer->promise.future();
    answer->promise.start();
    application->requestPermission(permission, application, [answer](const QPermission &asked) {
        answer->granted = asked.status() == Qt::PermissionStatus::Granted;
        answer->promise.finish();
    });
    co_await answered;
    co_return answer->granted;
}
#else
// Qt 6.4 has nothing to ask: the microphone may be used.
QCoro::Task<bool> microphonePermission()
{
    co_return true;
}
#endif

// The recorder where there is no audio input. It refuses to start, as the platform's recorder does then, so the
// test ends as a recording that failed (access was granted), and nothing is set up to capture from a device that
// is not there.
class RecorderWithoutInput final : public SampleRecorder
{
public:
    bool record() override { return false; }
    QCoro::Task<> stop() override { co_return; }
};

std::unique_ptr<SampleRecorder> systemSampleRecorder(const QString &file)
{
    if (QMediaDevices::defaultAudioInput().isNull())
        return std::make_unique<RecorderWithoutInput>();
    return std::make_unique<QtSampleRecorder>(file);
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
    platform.microphoneAccess = microphonePermission;
    platform.sampleRecorder = systemSampleRecorder;
    platform.sleep = preciseWait;
    platform.samplePlayer = samplePlayerProgram();
    return platform;
}

} // namespace wrenlow
