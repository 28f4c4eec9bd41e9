#include "sheets/MacUploadPayloadBuilder.h"

#include "sheets/PayloadFacts.h"
#include "sheets/PayloadValues.h"
#include "sheets/PreparedSheetRows.h"
#include "sheets/UploadOperatorInput.h"

#include <QJsonArray>

namespace wrenlow {

namespace {

QString sectionValue(const InventorySnapshot &snapshot, const QString &key, const QString &label)
{
    return snapshot.sectionOrPlaceholder(key).reportedValue(label);
}

QJsonObject routing(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return {
        {QStringLiteral("empId"), facts.normalizedEmpId},
        {QStringLiteral("projectId"), facts.routingProject},
        {QStringLiteral("duplicateAction"), input.duplicateAction},
        {QStringLiteral("allowDuplicate"), facts.allowDuplicate},
    };
}

QJsonObject computer(const PayloadFacts &facts, const UploadOperatorInput &input, const InventorySnapshot &snapshot)
{
    const QString systemSku = sectionValue(snapshot, QStringLiteral("identity"), QStringLiteral("Model number"));
    return {
        {QStringLiteral("assetTag"), input.assetTag},
        {QStringLiteral("serialNumber"), facts.serial},
        {QStringLiteral("biosSerialNumber"), facts.serial},
        {QStringLiteral("manufacturer"), facts.make},
        {QStringLiteral("model"), facts.model},
        {QStringLiteral("family"), QStringLiteral("Mac")},
        {QStringLiteral("systemSku"), systemSku},
        {QStringLiteral("chassis"), facts.chassisText},
    };
}

QJsonObject battery(const PayloadFacts &facts, const InventorySnapshot &snapshot)
{
    const InventorySection section = snapshot.sectionOrPlaceholder(QStringLiteral("battery"));
    const QString currentCharge = section.reportedValue(QStringLiteral("Current charge"));
    return {
        {QStringLiteral("detected"), !section.values.isEmpty()},
        {QStringLiteral("overallHealth"), facts.batteryPercent},
        {QStringLiteral("currentCharge"), currentCharge},
        {QStringLiteral("summary"), QString(u"Health " + facts.batteryPercent + u" | Current " + currentCharge)},
    };
}

QJsonArray cameras(const InventorySnapshot &snapshot)
{
    QJsonArray cameras;
    if (const DiagnosticItem *camera = snapshot.findDiagnostic(QStringLiteral("camera"))) {
        for (const QString &device : camera->devices)
            cameras.append(QJsonObject{{QStringLiteral("name"), device},
                                       {QStringLiteral("source"), QStringLiteral("Wrenlow Zel macOS")}});
    }
    return cameras;
}

QJsonObject amazonReturnsInput(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return {
        {QStringLiteral("techName"), input.techName},
        {QStringLiteral("assetTag"), input.assetTag},
        {QStringLiteral("sent"), input.sent},
        {QStringLiteral("trackingNo"), input.trackingNumber},
        {QStringLiteral("location"), input.location},
        {QStringLiteral("palletNo"), input.palletNumber},
        {QStringLiteral("fsnCode"), input.fsnCode},
        {QStringLiteral("asinCode"), input.asinCode},
        {QStringLiteral("description"), input.description},
        {QStringLiteral("issue"), input.issue},
        {QStringLiteral("workingOnIt"), input.workingOnIt},
        {QStringLiteral("comments"), input.comments},
        {QStringLiteral("unitPasses"), sheetRows::amazonUnitPasses(facts, input)},
    };
}

QJsonObject pcInput(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    const SheetVerdicts &verdicts = facts.verdicts;
    return {
        {QStringLiteral("assetTag"), input.assetTag},
        {QStringLiteral("diagnosticCheck"), verdicts.checkVerdict()},
        {QStringLiteral("virusCheck"), QString()},
        {QStringLiteral("deviceManagerCheck"), QString()},
        {QStringLiteral("allTestingCompleted"), SheetVerdicts::yesNo(verdicts.allComplete)},
        {QStringLiteral("physicalWebcam"), SheetVerdicts::yesNo(verdicts.hasWebcam)},
        {QStringLiteral("touchScreen"), QStringLiteral("No")},
        {QStringLiteral("keyboardLanguage"), QStringLiteral("US English")},
        {QStringLiteral("unitPasses"), verdicts.reviewVerdict()},
        {QStringLiteral("generalTechComments"), facts.combinedComments},
        {QStringLiteral("operatingSystem"), facts.operatingSystemText},
        {QStringLiteral("platformSecurity"), verdicts.securityState},
    };
}

QJsonObject operatorMember(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return {
        {QStringLiteral("empId"), facts.normalizedEmpId},
        {QStringLiteral("techName"), input.techName},
        {QStringLiteral("allowDuplicate"), facts.allowDuplicate},
        {QStringLiteral("duplicateAction"), input.duplicateAction},
        {QStringLiteral("input"), QJsonObject{{QStringLiteral("amazonReturns"), amazonReturnsInput(facts, input)},
                                              {QStringLiteral("pc"), pcInput(facts, input)}}},
    };
}

} // namespace

QString MacUploadPayloadBuilder::sheetSchema()
{
    static const QString schema = QStringLiteral("wrenlow.zel.sheet-row.v1");
    return schema;
}

QJsonObject MacUploadPayloadBuilder::build(const InventorySnapshot &snapshot, const UploadOperatorInput &input)
{
    const PayloadFacts facts = PayloadFacts::derive(snapshot, input);
    const QJsonObject preparedRows{
        {QStringLiteral("standard"), sheetRows::standard(facts, input)},
        {QStringLiteral("els"), sheetRows::els(facts, input)},
        {QStringLiteral("project"), sheetRows::project(facts, input)},
        {QStringLiteral("amazonReturns"), sheetRows::amazonReturns(facts, input)},
    };
    return {
        {QStringLiteral("action"), QStringLiteral("upload")},
        {QStringLiteral("clientSchema"), sheetSchema()},
        {QStringLiteral("clientPreparedRows"), preparedRows},
        {QStringLiteral("reportId"), facts.reportId},
        {QStringLiteral("collectedAt"), isoDateText(snapshot.collectedAt)},
        {QStringLiteral("empId"), facts.normalizedEmpId},
        {QStringLiteral("routing"), routing(facts, input)},
        {QStringLiteral("computer"), computer(facts, input, snapshot)},
        {QStringLiteral("firmware"),
         QJsonObject{
             {QStringLiteral("systemFirmwareVersion"), facts.firmwareVersion},
             {QStringLiteral("activationLock"),
              sectionValue(snapshot, QStringLiteral("firmware"), QStringLiteral("Activation Lock"))},
         }},
        {QStringLiteral("processor"), QJsonArray{QJsonObject{{QStringLiteral("name"), facts.cpu},
                                                             {QStringLiteral("architecture"), facts.architecture}}}},
        {QStringLiteral("memory"),
         QJsonObject{
             {QStringLiteral("total"), sectionValue(snapshot, QStringLiteral("memory"), QStringLiteral("Installed"))}}},
        {QStringLiteral("drives"), payload::driveRows(snapshot.sectionOrPlaceholder(QStringLiteral("drives")))},
        {QStringLiteral("graphics"), payload::graphicsRows(snapshot.sectionOrPlaceholder(QStringLiteral("graphics")))},
        {QStringLiteral("battery"), battery(facts, snapshot)},
        {QStringLiteral("touchscreen"),
         QJsonObject{{QStringLiteral("detected"), false}, {QStringLiteral("devices"), QJsonArray()}}},
        {QStringLiteral("cameras"), cameras(snapshot)},
        {QStringLiteral("installedMacOS"),
         QJsonObject{
             {QStringLiteral("productName"), QStringLiteral("macOS")},
             {QStringLiteral("version"), facts.macosVersion},
             {QStringLiteral("build"), facts.macosBuild},
             {QStringLiteral("architecture"), facts.architecture},
         }},
        {QStringLiteral("security"),
         QJsonObject{
             {QStringLiteral("sip"), facts.sip},
             {QStringLiteral("gatekeeper"), facts.gatekeeper},
             {QStringLiteral("fileVault"), facts.fileVault},
         }},
        {QStringLiteral("operator"), operatorMember(facts, input)},
        {QStringLiteral("notes"), QJsonArray()},
    };
}

} // namespace wrenlow
