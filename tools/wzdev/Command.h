#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <functional>

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

} // namespace wrenlow::wzdev
