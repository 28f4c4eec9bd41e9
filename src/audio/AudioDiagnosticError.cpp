#include "audio/AudioDiagnosticError.h"

#include <QHashFunctions>

namespace wrenlow {

namespace {

QString descriptionOf(AudioDiagnosticError::Kind kind)
{
    switch (kind) {
    case AudioDiagnosticError::Kind::MicrophoneDenied:
        return QStringLiteral("Microphone access was not granted.");
    case AudioDiagnosticError::Kind::RecordingFailed:
        return QStringLiteral("The microphone sample could not be recorded.");
    case AudioDiagnosticError::Kind::PlaybackFailed:
        break;
    }
    // The speaker test shares this text with the microphone test.
    return QStringLiteral("The recorded sample could not be played back.");
}

} // namespace

AudioDiagnosticError::AudioDiagnosticError(Kind kind)
    : WrenlowError(descriptionOf(kind))
    , m_kind(kind)
{}

size_t qHash(const AudioDiagnosticError &error, size_t seed) noexcept
{
    return ::qHash(static_cast<int>(error.kind()), seed);
}

} // namespace wrenlow
