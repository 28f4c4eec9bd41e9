#pragma once

#include "audio/AudioDiagnosticError.h"

#include <QCoroTask>

#include <optional>

namespace wrenlow::test {

// How an audio test ended: the kind of error it threw (if any) and that error's text.
struct AudioOutcome
{
    QString type; // "" when the test returned normally
    QString description;
    std::optional<AudioDiagnosticError::Kind> kind;
};

inline QCoro::Task<AudioOutcome> caught(QCoro::Task<> operation)
{
    try {
        co_await std::move(operation);
    } catch (const AudioDiagnosticError &error) {
        co_return AudioOutcome{QStringLiteral("AudioDiagnosticError"), error.description(), error.kind()};
    } catch (const PlatformError &error) {
        co_return AudioOutcome{QStringLiteral("PlatformError"), error.description(), std::nullopt};
    } catch (const std::exception &error) {
        co_return AudioOutcome{QStringLiteral("other"), QString::fromUtf8(error.what()), std::nullopt};
    }
    co_return AudioOutcome{};
}

// Runs an audio test to its end in a nested event loop. (QCoro::waitFor alone never returns from a task that
// throws, so the error is caught inside.)
inline AudioOutcome outcomeOf(QCoro::Task<> operation)
{
    return QCoro::waitFor(caught(std::move(operation)));
}

} // namespace wrenlow::test
