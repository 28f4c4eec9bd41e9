// wzdev sheets [--base URL] [--token T] [--no-wait] ACTION: one call of the product's Sheets gateway client,
// printing the decoded reply as a JSON line, or the error's description with a non-zero exit.
#include "Command.h"

#include "common/WrenlowError.h"
#include "sheets/MacSheetsClient.h"

#include <QCoroTimer>
#include <QJsonArray>

namespace wrenlow::wzdev {

namespace {

using namespace std::chrono_literals;

const QString usageText = QStringLiteral(
    "[--base URL] [--token T] [--no-wait] list-projects --emp X | check-duplicate --emp E --project P --serial S "
    "--asset A --fsn F | upload PAYLOAD.json");

int usage()
{
    printError(QStringLiteral("usage: wzdev sheets ") + usageText);
    return 2;
}

QJsonObject toJson(const SheetsProjectList &list)
{
    return {{QStringLiteral("ok"), list.ok},
            {QStringLiteral("empId"), list.empId},
            {QStringLiteral("employeeName"), list.employeeName},
            {QStringLiteral("targetSpreadsheetId"), list.targetSpreadsheetId},
            {QStringLiteral("projects"), QJsonArray::fromStringList(list.projects)},
            {QStringLiteral("error"), orNull(list.error)}};
}

QJsonObject toJson(const SheetsDuplicateResult &result)
{
    return {{QStringLiteral("ok"), result.ok},
            {QStringLiteral("duplicate"), result.duplicate},
            {QStringLiteral("sheetName"), result.sheetName},
            {QStringLiteral("parsedRowNumber"), orNull(result.parsedRowNumber())},
            {QStringLiteral("employeeName"), result.employeeName},
            {QStringLiteral("matchDescriptions"), QJsonArray::fromStringList(result.matchDescriptions())},
            {QStringLiteral("error"), orNull(result.error)}};
}

QJsonObject toJson(const SheetsUploadResult &result)
{
    return {{QStringLiteral("ok"), result.ok},
            {QStringLiteral("duplicate"), result.duplicate},
            {QStringLiteral("sheetName"), result.sheetName},
            {QStringLiteral("parsedRowNumber"), orNull(result.parsedRowNumber())},
            {QStringLiteral("duplicateAction"), result.duplicateAction},
            {QStringLiteral("employeeName"), result.employeeName},
            {QStringLiteral("busy"), result.busy},
            {QStringLiteral("retryable"), result.retryable},
            {QStringLiteral("retryAfterMs"), result.retryAfterMs},
            {QStringLiteral("error"), orNull(result.error)}};
}

// The action's options, each required; nothing when one is missing or the line is malformed.
std::optional<QStringList> readOptions(const QStringList &arguments, const QStringList &names)
{
    QCommandLineParser parser;
    for (const QString &name : names)
        parser.addOption(QCommandLineOption(name, {}, QStringLiteral("VALUE")));
    const std::optional<QStringList> rest = parseArguments(parser, arguments, OptionPlace::Anywhere);
    if (!rest || !rest->isEmpty())
        return std::nullopt;
    QStringList values;
    for (const QString &name : names) {
        if (!parser.isSet(name))
            return std::nullopt;
        values.append(parser.value(name));
    }
    return values;
}

int runAction(MacSheetsClient &client, const QString &action, const QStringList &arguments)
{
    if (action == QStringLiteral("list-projects")) {
        const auto emp = readOptions(arguments, {QStringLiteral("emp")});
        if (!emp)
            return usage();
        printJson(toJson(waitForClient(client.listProjects(emp->at(0)))));
    } else if (action == QStringLiteral("check-duplicate")) {
        const auto v =
            readOptions(arguments, {QStringLiteral("emp"), QStringLiteral("project"), QStringLiteral("serial"),
                                    QStringLiteral("asset"), QStringLiteral("fsn")});
        if (!v)
            return usage();
        printJson(toJson(waitForClient(client.checkDuplicate(v->at(0), v->at(1), v->at(2), v->at(3), v->at(4)))));
    } else if (action == QStringLiteral("upload") && arguments.size() == 1) {
        QJsonObject payload;
        if (!readJsonObject(arguments.first(), payload))
            return 1;
        printJson(toJson(waitForClient(client.upload(payload))));
    } else {
        return usage();
    }
    return 0;
}

int sheetsCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption baseOption(QStringLiteral("base"), {}, QStringLiteral("URL"));
    const QCommandLineOption tokenOption(QStringLiteral("token"), {}, QStringLiteral("T"));
    const QCommandLineOption noWait(QStringLiteral("no-wait"));
    parser.addOptions({baseOption, tokenOption, noWait});
    const std::optional<QStringList> rest = parseArguments(parser, arguments);
    const QUrl base = parser.isSet(baseOption) ? QUrl(parser.value(baseOption), QUrl::StrictMode) : gatewayBaseUrl();
    if (!rest || rest->isEmpty() || !base.isValid() || !base.path().endsWith(u'/'))
        return usage();
    const std::optional<QString> token =
        parser.isSet(tokenOption) ? std::optional<QString>(parser.value(tokenOption)) : std::nullopt;
    MacSheetsClient::Sleeper sleeper = MacSheetsClient::defaultSleeper();
    if (parser.isSet(noWait))
        sleeper = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };

    MacSheetsClient client(base, MacSheetsClient::defaultHttpOptions(), sleeper);
    client.setBearerToken(token);
    try {
        return runAction(client, rest->first(), rest->mid(1));
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
}

const Registration registration{{QStringLiteral("sheets"), usageText, sheetsCommand}};

} // namespace

} // namespace wrenlow::wzdev
