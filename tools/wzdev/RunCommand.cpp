// wzdev run [--timeout SECONDS] COMMAND: one command through the product's command runner, as a JSON line.
#include "Command.h"

#include "common/CommandRunner.h"

#include <QJsonObject>

namespace wrenlow::wzdev {

namespace {

int runCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"), {}, QStringLiteral("SECONDS"));
    parser.addOption(timeoutOption);
    const std::optional<QStringList> rest = parseArguments(parser, arguments);
    double timeout = CommandRunner::defaultTimeout;
    if (rest && parser.isSet(timeoutOption)) {
        bool ok = false;
        timeout = parser.value(timeoutOption).toDouble(&ok);
        if (!ok) {
            printError(QStringLiteral("--timeout needs a number of seconds"));
            return 2;
        }
    }
    if (!rest || rest->size() != 1) {
        printError(QStringLiteral("usage: wzdev run [--timeout SECONDS] COMMAND"));
        return 2;
    }
    const CommandRunner::Result result = CommandRunner::run(rest->first(), timeout);
    printJson(QJsonObject{{QStringLiteral("status"), result.status},
                          {QStringLiteral("stderr"), result.stdErr},
                          {QStringLiteral("stdout"), result.stdOut}});
    return 0;
}

const Registration registration{{QStringLiteral("run"), QStringLiteral("[--timeout SECONDS] COMMAND"), runCommand}};

} // namespace

} // namespace wrenlow::wzdev
