#pragma once

#include "TaskWait.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

namespace wrenlow::wzdev {

// One subcommand of the developer tool. Each lives in its own file and registers itself, so that a
// subsystem adds its checks without touching the others.
struct Command
{
    QString name;
    QString usage;
    // Gets the arguments after the subcommand's name; returns the process exit status.
    std::function<int(const QStringList &arguments)> run;
};

class CommandRegistry
{
public:
    static void add(Command command);
    static const QList<Command> &all();
};

// Registers a subcommand at start-up: `static const Registration r{{"name", "usage", fn}};`
struct Registration
{
    explicit Registration(Command command) { CommandRegistry::add(std::move(command)); }
};

// Output helpers shared by the subcommands.
void printLine(const QString &text);
void printError(const QString &text);
// Prints a JSON value as one compact line, or indented with sorted keys.
void printJson(const QJsonValue &value, bool indented = false);
// Reads a JSON file that must hold an object; prints the reason and returns false otherwise.
bool readJsonObject(const QString &path, QJsonObject &into);
// A value that may be absent, as JSON: null when it is.
template <typename T> QJsonValue orNull(const std::optional<T> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

// How a subcommand's options may stand: only before its first other argument (everything from there on is that
// argument's own, options included), or anywhere.
enum class OptionPlace { BeforeArguments, Anywhere };

// Reads a subcommand's arguments with `parser`, which knows its options; returns the other arguments, or nothing
// when the line is malformed (an unknown option, an option without its value).
std::optional<QStringList> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                          OptionPlace place = OptionPlace::BeforeArguments);

// Waits for a client's operation. The clients end their own exchanges; this limit only keeps the tool from
// hanging for good.
template <typename T> T waitForClient(QCoro::Task<T> task)
{
    return support::waitForTask(std::move(task), std::chrono::minutes(10));
}

} // namespace wrenlow::wzdev
