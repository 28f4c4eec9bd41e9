// wzdev payload SNAPSHOT.json INPUT.json: the sheet-row upload payload the product would send for this scan and
// these routing fields, or the builder's refusal.
#include "Command.h"

#include "common/JsonFields.h"
#include "common/WrenlowError.h"
#include "scan/InventoryModel.h"
#include "sheets/MacUploadPayloadBuilder.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"

namespace wrenlow::wzdev {

namespace {

UploadOperatorInput inputFromJson(const QJsonObject &object)
{
    const auto field = [&object](const char *name) { return json::requireString(object, QLatin1String(name)); };
    return {.empId = field("empId"),
            .projectId = field("projectId"),
            .duplicateAction = field("duplicateAction"),
            .assetTag = field("assetTag"),
            .techName = field("techName"),
            .fsnCode = field("fsnCode"),
            .sent = field("sent"),
            .trackingNumber = field("trackingNumber"),
            .location = field("location"),
            .palletNumber = field("palletNumber"),
            .asinCode = field("asinCode"),
            .description = field("description"),
            .issue = field("issue"),
            .workingOnIt = field("workingOnIt"),
            .comments = field("comments"),
            .unitPasses = field("unitPasses")};
}

int payloadCommand(const QStringList &arguments)
{
    if (arguments.size() != 2) {
        printError(QStringLiteral("usage: wzdev payload SNAPSHOT.json INPUT.json"));
        return 2;
    }
    QJsonObject snapshotJson;
    QJsonObject inputJson;
    if (!readJsonObject(arguments.at(0), snapshotJson) || !readJsonObject(arguments.at(1), inputJson))
        return 1;
    try {
        const InventorySnapshot snapshot = InventorySnapshot::fromJson(snapshotJson);
        printJson(MacUploadPayloadBuilder::build(snapshot, inputFromJson(inputJson)), true);
        return 0;
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
}

const Registration registration{
    {QStringLiteral("payload"), QStringLiteral("SNAPSHOT.json INPUT.json"), payloadCommand}};

} // namespace

} // namespace wrenlow::wzdev
