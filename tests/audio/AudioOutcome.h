#pragma once

#include "audio/AudioDiagnosticError.h"

#include <QCoroTask>
#include <QElapsedTimer>

#include <optional>

namespace wrenlow::test {

// How an audio test ended: "" when it returned, else the error's type and text (and the error itself when it is an
// AudioDiagnosticError); and how long it took.
struct AudioOutcome
{
    QString type;
    QString description;
    qint64 elapsedMs = 0;
    std::optional<AudioDiagnosticError> error = std::nullopt;
};

inline QCoro::Task<AudioOutcome> caught(QCoro::Task<> operation)
{
    try {
        co_await std::move(operation);
    } catch (const AudioDiagnosticError &error) {
        co_return AudioOutcome{QStringLiteral("AudioDiagnosticError"), error.description(), 0, error};
    } catch (const PlatformError &error) {
        co_return AudioOutcome{QStringLiteral("PlatformError"), error.description()};
    }
    co_return AudioOutcome{};
}

// Runs an audio test to its end in a nested event loop; QCoro::waitFor alone never returns from a task that
// throws, so the error is caught inside.
inline AudioOutcome outcomeOf(QCoro::Task<> operation)
{
    QElapsedTimer clock;
    clock.start();
    AudioOutcome outcome = QCoro::waitFor(caught(std::move(operation)));
    outcome.elapsedMs = clock.elapsed();
    return outcome;
}

} // namespace wrenlow::test
