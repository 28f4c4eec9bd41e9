// wzdev speaker-render FILE: the speaker signal as raw interleaved float32 frames, for checks.
// wzdev speaker, wzdev microphone: the real audio tests on this machine; prints how they ended.
#include "Command.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/SpeakerSignal.h"
#include "common/AtomicFile.h"
#include "common/WrenlowError.h"

#include <QCoroTask>

namespace wrenlow::wzdev {

namespace {

int renderSpeakerSignal(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        printError(QStringLiteral("usage: wzdev speaker-render FILE"));
        return 2;
    }
    try {
        writeFileAtomically(arguments.first(), SpeakerSignal::render().interleavedPcm());
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
    return 0;
}

// Runs one audio test to its end; an error's text instead of success.
QCoro::Task<QString> failureOf(QCoro::Task<> test)
{
    try {
        co_await std::move(test);
    } catch (const WrenlowError &error) {
        co_return error.description();
    }
    co_return QString();
}

int report(const QString &failure, const QString &success)
{
    if (!failure.isEmpty()) {
        printError(failure);
        return 1;
    }
    printLine(success);
    return 0;
}

int playSpeaker(const QStringList &)
{
    const AudioDiagnosticService service;
    return report(QCoro::waitFor(failureOf(service.playSpeakerSequence())),
                  QStringLiteral("The speaker sequence was played."));
}

int recordMicrophone(const QStringList &)
{
    const AudioDiagnosticService service;
    return report(QCoro::waitFor(failureOf(service.recordAndPlayMicrophoneSample())),
                  QStringLiteral("The microphone sample was recorded and played back."));
}

const Registration renderRegistration{{QStringLiteral("speaker-render"), QStringLiteral("FILE"), renderSpeakerSignal}};
const Registration speakerRegistration{{QStringLiteral("speaker"), QString(), playSpeaker}};
const Registration microphoneRegistration{{QStringLiteral("microphone"), QString(), recordMicrophone}};

} // namespace

} // namespace wrenlow::wzdev
