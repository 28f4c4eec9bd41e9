#pragma once

#include <QByteArray>
#include <QObject>

namespace wrenlow {

// Where the speaker signal is played: the default audio output in the product, a stand-in in tests.
class SpeakerOutput : public QObject
{
    Q_OBJECT

public:
    // Starts playing `pcm` (interleaved 32-bit float stereo frames at the signal's rate) at `volume`, 0 to 1.
    // Throws the platform's own error when the output cannot start. Never emits `ended` from inside this call.
    virtual void start(const QByteArray &pcm, double volume) = 0;
    virtual void stop() = 0;

signals:
    // The output is done with the signal: played to its end, or broken off by the platform.
    void ended(bool playedToEnd);
};

} // namespace wrenlow
