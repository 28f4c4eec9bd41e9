#include "audio/AudioDiagnosticError.h"

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

} // namespace wrenlow
