#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace wrenlow {

// The one way the product runs an external program: a command line handed to a login Z shell, with a
// wall-clock limit. It never throws; every outcome is a Result.
class CommandRunner
{
public:
    struct Result
    {
        QString stdOut;
        QString stdErr;
        int status = 0;

        bool operator==(const Result &) const = default;
    };

    static constexpr double defaultTimeout = 25.0;
    static constexpr double jsonTimeout = 45.0;
    static constexpr int timedOutStatus = 124;
    static constexpr int launchFailedStatus = -1;
    static constexpr int outputTooLargeStatus = -2;
    // What is kept of each stream. Far above any real answer (a whole system profile is a few MB); a tool that
    // writes more is stopped, so that an endless writer cannot take the program's memory.
    static constexpr qint64 maxStreamBytes = 16 * 1024 * 1024;

    // Runs `command` through "/bin/zsh -lc" and waits until it ends or `timeout` seconds have passed, or until
    // one of its streams passes maxStreamBytes. Blocks the calling thread while serving that thread's event loop.
    // A limit of 0 or less, or not a number, ends a command still running at once; an infinite one sets none.
    static Result run(const QString &command, double timeout = defaultTimeout);

    // Runs `command` (by default with the JSON limit) and gives its standard output's top-level object, or nothing.
    static std::optional<QJsonObject> json(const QString &command, double timeout = jsonTimeout);

    // Parses the way `json` does: only a top-level object counts.
    static std::optional<QJsonObject> parseJsonObject(const QString &text);

    // Ends every running command (as a time-out) and refuses new ones; for quitting while a scan runs.
    static void abortAll();

    // The shell every command runs in; tests point it elsewhere. Not thread-safe against running commands.
    static void setShell(const QString &path);
    static QString shell();
};

} // namespace wrenlow
