#pragma once

#include "scan/MacTools.h"

#include <QCoroTask>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace wrenlow {

class SampleRecorder;
class SpeakerOutput;

// The platform pieces the audio tests stand on, so that their logic runs in tests without a sound card.
// `system()` gives the product's: Qt Multimedia, our player command and real waits.
struct AudioPlatform
{
    // A fresh output for every speaker test.
    std::function<std::unique_ptr<SpeakerOutput>()> speakerOutput;
    // Asked on every microphone test; true when the microphone may be used.
    std::function<QCoro::Task<bool>()> microphoneAccess;
    // A recorder writing to the given file; throws the platform's error when none can be made.
    std::function<std::unique_ptr<SampleRecorder>(const QString &file)> sampleRecorder;
    // The wait that measures the recording; whatever it throws ends the test unchanged.
    std::function<QCoro::Task<>(std::chrono::milliseconds)> sleep;
    // The player program as it stands in a shell command line; the sample's quoted path follows it.
    QString samplePlayer;
    // Stops a speaker test whose output never reports the end, well after the 4.2 s signal.
    std::chrono::milliseconds speakerWatchdog{10000};
    double playbackLimit = mactools::ToolLimits{}.samplePlayback;

    static AudioPlatform system();
};

} // namespace wrenlow
