#pragma once

#include "audio/AudioDiagnosticError.h"

#include <QCoroTask>

namespace wrenlow::test {

// How an audio test ended: "" when it returned, else the error's type and text.
struct AudioOutcome
{
    QString type;
    QString description;
};

inline QCoro::Task<AudioOutcome> caught(QCoro::Task<> operation)
{
    try {
        co_await std::move(operation);
    } catch (const AudioDiagnosticError &error) {
        co_return AudioOutcome{QStringLiteral("AudioDiagnosticError"), error.description()};
    } catch (const PlatformError &error) {
        co_return AudioOutcome{QStringLiteral("PlatformError"), error.description()};
    }
    co_return AudioOutcome{};
}

// Runs an audio test to its end in a nested event loop; QCoro::waitFor alone never returns from a task that
// throws, so the error is caught inside.
inline AudioOutcome outcomeOf(QCoro::Task<> operation)
{
    return QCoro::waitFor(caught(std::move(operation)));
}

} // namespace wrenlow::test
