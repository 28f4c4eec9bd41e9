// wzdev report / canonical / resolve-body: the report formats and the report store on a snapshot file.
#include "Command.h"

#include "common/WrenlowError.h"
#include "report/MacCanonicalInventoryBuilder.h"
#include "report/ReportStore.h"
#include "scan/InventoryModel.h"

#include <optional>

namespace wrenlow::wzdev {

namespace {

std::optional<InventorySnapshot> readSnapshot(const QString &path)
{
    QJsonObject object;
    if (!readJsonObject(path, object))
        return std::nullopt;
    try {
        return InventorySnapshot::fromJson(object);
    } catch (const WrenlowError &error) {
        printError(QStringLiteral("%1: %2").arg(path, error.description()));
        return std::nullopt;
    }
}

int saveReport(const QStringList &arguments)
{
    if (arguments.size() != 2) {
        printError(QStringLiteral("usage: wzdev report SNAPSHOT.json VERDICT"));
        return 2;
    }
    const auto snapshot = readSnapshot(arguments.at(0));
    if (!snapshot)
        return 1;
    try {
        ReportStore::save(*snapshot, arguments.at(1));
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
    printLine(ReportStore::latestReportURL());
    printLine(ReportStore::canonicalPreviewURL());
    return 0;
}

int printCanonical(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        printError(QStringLiteral("usage: wzdev canonical SNAPSHOT.json"));
        return 2;
    }
    const auto snapshot = readSnapshot(arguments.at(0));
    if (!snapshot)
        return 1;
    printJson(MacCanonicalInventoryBuilder::build(*snapshot), true);
    return 0;
}

// False only for an option that is given but is not a whole number.
bool readId(const QCommandLineParser &parser, const QCommandLineOption &option, std::optional<qint64> &into)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    into = parser.value(option).toLongLong(&ok);
    return ok;
}

int printResolveBody(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lot(QStringLiteral("lot"), {}, QStringLiteral("N"));
    const QCommandLineOption category(QStringLiteral("category"), {}, QStringLiteral("M"));
    const QCommandLineOption assetTag(QStringLiteral("asset-tag"), {}, QStringLiteral("T"));
    parser.addOptions({lot, category, assetTag});
    const std::optional<QStringList> files = parseArguments(parser, arguments, OptionPlace::Anywhere);
    std::optional<qint64> lotId;
    std::optional<qint64> categoryId;
    if (!files || files->size() != 1 || !readId(parser, lot, lotId) || !lotId ||
        !readId(parser, category, categoryId)) {
        printError(QStringLiteral("usage: wzdev resolve-body SNAPSHOT.json --lot N [--category M] [--asset-tag T]"));
        return 2;
    }
    const auto snapshot = readSnapshot(files->first());
    if (!snapshot)
        return 1;
    printJson(MacCanonicalInventoryBuilder::buildResolveBody(*snapshot, *lotId, categoryId, parser.value(assetTag)));
    return 0;
}

const Registration report{{QStringLiteral("report"), QStringLiteral("SNAPSHOT.json VERDICT"), saveReport}};
const Registration canonical{{QStringLiteral("canonical"), QStringLiteral("SNAPSHOT.json"), printCanonical}};
const Registration resolveBody{{QStringLiteral("resolve-body"),
                                QStringLiteral("SNAPSHOT.json --lot N [--category M] [--asset-tag T]"),
                                printResolveBody}};

} // namespace

} // namespace wrenlow::wzdev
