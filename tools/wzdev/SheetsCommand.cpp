// wzdev sheets [--base URL] [--token T] [--no-wait] ACTION: one call of the product's Sheets gateway client,
// printing the decoded reply as a JSON line, or the error's description with a non-zero exit.
#include "Command.h"

#include "common/WrenlowError.h"
#include "sheets/MacSheetsClient.h"

#include <QCoroTimer>
#include <QHash>
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

QJsonValue optionalText(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue();
}

QJsonValue optionalNumber(const std::optional<qint64> &number)
{
    return number ? QJsonValue(*number) : QJsonValue();
}

QJsonObject toJson(const SheetsProjectList &list)
{
    return {{QStringLiteral("ok"), list.ok},
            {QStringLiteral("empId"), list.empId},
            {QStringLiteral("employeeName"), list.employeeName},
            {QStringLiteral("targetSpreadsheetId"), list.targetSpreadsheetId},
            {QStringLiteral("projects"), QJsonArray::fromStringList(list.projects)},
            {QStringLiteral("error"), optionalText(list.error)}};
}

QJsonObject toJson(const SheetsDuplicateResult &result)
{
    return {{QStringLiteral("ok"), result.ok},
            {QStringLiteral("duplicate"), result.duplicate},
            {QStringLiteral("sheetName"), result.sheetName},
            {QStringLiteral("parsedRowNumber"), optionalNumber(result.parsedRowNumber())},
            {QStringLiteral("employeeName"), result.employeeName},
            {QStringLiteral("matchDescriptions"), QJsonArray::fromStringList(result.matchDescriptions())},
            {QStringLiteral("error"), optionalText(result.error)}};
}

QJsonObject toJson(const SheetsUploadResult &result)
{
    return {{QStringLiteral("ok"), result.ok},
            {QStringLiteral("duplicate"), result.duplicate},
            {QStringLiteral("sheetName"), result.sheetName},
            {QStringLiteral("parsedRowNumber"), optionalNumber(result.parsedRowNumber())},
            {QStringLiteral("duplicateAction"), result.duplicateAction},
            {QStringLiteral("employeeName"), result.employeeName},
            {QStringLiteral("busy"), result.busy},
            {QStringLiteral("retryable"), result.retryable},
            {QStringLiteral("retryAfterMs"), result.retryAfterMs},
            {QStringLiteral("error"), optionalText(result.error)}};
}

// "--name value" pairs; false when one is malformed or a required name is missing.
bool readOptions(const QStringList &arguments, const QStringList &required, QHash<QString, QString> &options)
{
    for (qsizetype i = 0; i + 1 < arguments.size(); i += 2) {
        if (!required.contains(arguments.at(i)))
            return false;
        options.insert(arguments.at(i), arguments.at(i + 1));
    }
    return arguments.size() % 2 == 0 && options.size() == required.size();
}

int runAction(MacSheetsClient &client, const QString &action, const QStringList &arguments)
{
    QHash<QString, QString> options;
    if (action == QStringLiteral("list-projects")) {
        if (!readOptions(arguments, {QStringLiteral("--emp")}, options))
            return usage();
        printJson(toJson(waitForClient(client.listProjects(options.value(QStringLiteral("--emp"))))));
    } else if (action == QStringLiteral("check-duplicate")) {
        const QStringList names{QStringLiteral("--emp"), QStringLiteral("--project"), QStringLiteral("--serial"),
                                QStringLiteral("--asset"), QStringLiteral("--fsn")};
        if (!readOptions(arguments, names, options))
            return usage();
        printJson(toJson(waitForClient(client.checkDuplicate(options.value(names.at(0)), options.value(names.at(1)),
                                                             options.value(names.at(2)), options.value(names.at(3)),
                                                             options.value(names.at(4))))));
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
    QStringList rest = arguments;
    QUrl base = gatewayBaseUrl();
    std::optional<QString> token;
    MacSheetsClient::Sleeper sleeper = MacSheetsClient::defaultSleeper();
    while (!rest.isEmpty() && rest.first().startsWith(QStringLiteral("--"))) {
        const QString option = rest.takeFirst();
        if (option == QStringLiteral("--no-wait"))
            sleeper = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };
        else if (option == QStringLiteral("--base") && !rest.isEmpty())
            base = QUrl(rest.takeFirst(), QUrl::StrictMode);
        else if (option == QStringLiteral("--token") && !rest.isEmpty())
            token = rest.takeFirst();
        else
            return usage();
    }
    if (rest.isEmpty() || !base.isValid() || !base.path().endsWith(u'/'))
        return usage();

    MacSheetsClient client(base, MacSheetsClient::defaultHttpOptions(), sleeper);
    client.setBearerToken(token);
    try {
        return runAction(client, rest.first(), rest.mid(1));
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
}

const Registration registration{{QStringLiteral("sheets"), usageText, sheetsCommand}};

} // namespace

} // namespace wrenlow::wzdev
