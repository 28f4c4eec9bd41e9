#pragma once

#include "common/WrenlowError.h"

namespace wrenlow {

// The error of both audio tests, one fixed text per kind. Platform failures (the output's start error, the
// recorder's own error) are not turned into this type; they arrive as they were raised.
class AudioDiagnosticError : public WrenlowError
{
public:
    enum class Kind { MicrophoneDenied, RecordingFailed, PlaybackFailed };

    explicit AudioDiagnosticError(Kind kind);

    static AudioDiagnosticError microphoneDenied() { return AudioDiagnosticError(Kind::MicrophoneDenied); }
    static AudioDiagnosticError recordingFailed() { return AudioDiagnosticError(Kind::RecordingFailed); }
    static AudioDiagnosticError playbackFailed() { return AudioDiagnosticError(Kind::PlaybackFailed); }

    Kind kind() const { return m_kind; }

    // Two errors are the same when their kinds are: the text follows from the kind.
    bool operator==(const AudioDiagnosticError &other) const { return m_kind == other.m_kind; }

private:
    Kind m_kind;
};

size_t qHash(const AudioDiagnosticError &error, size_t seed = 0) noexcept;

} // namespace wrenlow
