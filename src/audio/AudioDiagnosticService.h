#pragma once

#include "audio/AudioPlatform.h"

#include <QCoroTask>

#include <chrono>

namespace wrenlow {

// The two hands-on audio tests of the Tests page. Neither judges the sound: each returns once the technician has
// heard it, and the technician marks the diagnostic.
class AudioDiagnosticService
{
public:
    static constexpr double mixerVolume = 0.72;
    static constexpr std::chrono::milliseconds recordingLength{3000};

    explicit AudioDiagnosticService(AudioPlatform platform = AudioPlatform::system());

    // Plays the speaker signal once. Throws the output's own start error, or playbackFailed when the output
    // breaks off or does not report the end before the watchdog.
    QCoro::Task<> playSpeakerSequence() const;

    // Records three seconds from the microphone and plays them back with the sample player. Throws
    // microphoneDenied, recordingFailed or playbackFailed, or the sample folder's, the recorder's or the wait's
    // own error.
    QCoro::Task<> recordAndPlayMicrophoneSample() const;

private:
    AudioPlatform m_platform;
};

} // namespace wrenlow
