#include "audio/AudioDiagnosticService.h"

#include "audio/AudioDiagnosticError.h"
#include "audio/MicrophoneSample.h"
#include "audio/SampleRecorder.h"
#include "audio/SpeakerOutput.h"
#include "audio/SpeakerSignal.h"
#include "common/ShellQuote.h"
#include "common/CommandRunner.h"

#include <QCoroFuture>
#include <QCoroSignal>
#include <QFile>
#include <QtConcurrent>

namespace wrenlow {

AudioDiagnosticService::AudioDiagnosticService(AudioPlatform platform)
    : m_platform(std::move(platform))
{}

QCoro::Task<> AudioDiagnosticService::playSpeakerSequence() const
{
    QFuture<SpeakerSignal> rendering = QtConcurrent::run(&SpeakerSignal::render);
    const SpeakerSignal signal = co_await rendering;

    const std::unique_ptr<SpeakerOutput> output = m_platform.speakerOutput();
    output->start(signal.interleavedPcm(), mixerVolume);
    const std::optional<bool> playedToEnd =
        co_await qCoro(output.get(), &SpeakerOutput::ended, m_platform.speakerWatchdog);
    output->stop();
    if (!playedToEnd.value_or(false))
        throw AudioDiagnosticError::playbackFailed();
}

QCoro::Task<> AudioDiagnosticService::recordAndPlayMicrophoneSample() const
{
    const bool granted = co_await m_platform.microphoneAccess();
    if (!granted)
        throw AudioDiagnosticError::microphoneDenied();

    const QString sample = microphoneSamplePath();
    // Usually there is a sample from the last run; the recorder must not find it.
    QFile::remove(sample);
    {
        const std::unique_ptr<SampleRecorder> recorder = m_platform.sampleRecorder(sample);
        if (!recorder->record())
            throw AudioDiagnosticError::recordingFailed();
        co_await m_platform.sleep(recordingLength);
        co_await recorder->stop();
    }

    const QString command = m_platform.samplePlayer + u' ' + shellQuoted(sample);
    const double limit = m_platform.playbackLimit;
    QFuture<CommandRunner::Result> playing =
        QtConcurrent::run([command, limit] { return CommandRunner::run(command, limit); });
    const CommandRunner::Result played = co_await playing;
    if (played.status != 0)
        throw AudioDiagnosticError::playbackFailed();
}

} // namespace wrenlow
