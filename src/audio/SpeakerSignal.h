#pragma once

#include <QByteArray>

#include <vector>

namespace wrenlow {

// The speaker test's sound: 4.2 s of stereo in four segments (a low sweep and a broad sweep on both channels, then
// a 700 Hz tone on the left only and on the right only), rendered whole before it is played.
class SpeakerSignal
{
public:
    static constexpr int sampleRate = 48000;
    static constexpr int channelCount = 2;
    static constexpr qsizetype frameCount = sampleRate * 42 / 10;

    // Renders every frame. Takes a few milliseconds; callers keep it off the main thread.
    static SpeakerSignal render();

    float left(qsizetype frame) const { return m_samples[size_t(frame * channelCount)]; }
    float right(qsizetype frame) const { return m_samples[size_t(frame * channelCount + 1)]; }

    // Every frame as 32-bit float samples in the machine's byte order, left before right.
    QByteArray interleavedPcm() const;

private:
    std::vector<float> m_samples;
};

} // namespace wrenlow
