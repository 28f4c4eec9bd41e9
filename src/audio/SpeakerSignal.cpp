#include "audio/SpeakerSignal.h"

#include <cmath>
#include <numbers>

namespace wrenlow {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;
constexpr double toneFrequency = 700.0;

// The sine's argument is the momentary frequency times the time since the segment began, not an accumulated
// phase, so every segment starts at phase 0 and the heard pitch rises past the nominal end frequency.
float sweep(double startFrequency, double frequencySpan, double segmentTime, double amplitude)
{
    const double frequency = startFrequency + frequencySpan * (segmentTime / 1.4);
    return float(std::sin(twoPi * frequency * segmentTime) * amplitude);
}

float tone(double segmentTime)
{
    return float(std::sin(twoPi * toneFrequency * segmentTime) * 0.22);
}

} // namespace

SpeakerSignal SpeakerSignal::render()
{
    SpeakerSignal signal;
    signal.m_samples.assign(size_t(frameCount * channelCount), 0.0f);
    for (qsizetype frame = 0; frame < frameCount; ++frame) {
        const double t = double(frame) / double(sampleRate);
        float &left = signal.m_samples[size_t(frame * channelCount)];
        float &right = signal.m_samples[size_t(frame * channelCount + 1)];
        if (t < 1.4) {
            left = right = sweep(120.0, 780.0, t, 0.24);
        } else if (t < 2.8) {
            left = right = sweep(900.0, 5600.0, t - 1.4, 0.18);
        } else if (t < 3.5) {
            left = tone(t - 2.8);
        } else {
            right = tone(t - 3.5);
        }
    }
    return signal;
}

QByteArray SpeakerSignal::interleavedPcm() const
{
    return QByteArray(reinterpret_cast<const char *>(m_samples.data()), qsizetype(m_samples.size() * sizeof(float)));
}

} // namespace wrenlow
