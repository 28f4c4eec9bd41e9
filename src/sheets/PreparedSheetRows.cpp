#include "sheets/PreparedSheetRows.h"

#include "sheets/PayloadFacts.h"
#include "sheets/UploadOperatorInput.h"

#include <initializer_list>
#include <span>
#include <utility>

namespace wrenlow::sheetRows {

namespace {

using Column = std::pair<QStringView, QString>;

QJsonObject withColumns(QJsonObject row, std::span<const Column> columns)
{
    for (const Column &column : columns)
        row.insert(column.first.toString(), column.second);
    return row;
}

QJsonObject row(std::initializer_list<Column> columns)
{
    return withColumns({}, {columns.begin(), columns.size()});
}

// The unit's description that the "els" and "project" layouts both start with.
QJsonObject hardwareHead(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return row({
        {u"Date", facts.sheetDate},
        {u"Tech Name", input.techName},
        {u"BIOS Serial Number", facts.serial},
        {u"Make", facts.make},
        {u"Model", facts.model},
        {u"CPU", facts.cpu},
        {u"RAM", facts.ram},
        {u"RAM\n(Current)", facts.ram},
        {u"Hard Drive", facts.storage},
        {u"Hard Drive\n(Current)", facts.storage},
    });
}

// Make, model, CPU, "RAM storage" and macOS in one cell; bars inside the parts are copied as they are.
QString amazonModelLine(const PayloadFacts &facts)
{
    return facts.make.toUpper() + u' ' + facts.model + u'|' + facts.cpu + u'|' + facts.ram + u' ' + facts.storage +
           u"|MACOS " + facts.macosVersion;
}

} // namespace

QJsonObject standard(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    const SheetVerdicts &verdicts = facts.verdicts;
    return row({
        {u"Asset Tag", input.assetTag},
        {u"Unit Serial Number", facts.serial},
        {u"BIOS Serial Number", facts.serial},
        {u"Date", facts.sheetDate},
        {u"Tech Name", input.techName},
        {u"Type", facts.chassisText},
        {u"Make", facts.make},
        {u"Model", facts.model},
        {u"CPU", facts.cpu},
        {u"RAM\n(Previous)", {}},
        {u"RAM\n(Current)", facts.ram},
        {u"Hard Drive\n(Previous)", {}},
        {u"Hard Drive\n(Current)", facts.storage},
        {u"Hard Drive", facts.storage},
        {u"Absolute Status", {}},
        {u"Secure Boot Re-Enabled", {}},
        {u"Secure Boot", {}},
        {u"Physical Webcam", SheetVerdicts::yesNo(verdicts.hasWebcam)},
        {u"Touch Screen", QStringLiteral("No")},
        {u"Keyboard Language", QStringLiteral("US English")},
        {u"Windows Version", {}},
        {u"Operating System", facts.operatingSystemText},
        {u"OS Build Version", facts.macosBuild},
        {u"Firmware Version", facts.firmwareVersion},
        {u"Storage Wiped", {}},
        {u"Diagnostic Check", verdicts.checkVerdict()},
        {u"Virus Check", {}},
        {u"Device Manager Check", {}},
        {u"All Testing Completed", SheetVerdicts::yesNo(verdicts.allComplete)},
        {u"Battery Health Percentage", facts.batteryPercent},
        {u"Unit Passes", verdicts.passVerdict()},
        {u"Hardware Remarks", u"Architecture: " + facts.architecture + u"; SIP: " + facts.sip + u"; Gatekeeper: " +
                                  facts.gatekeeper + u"; FileVault: " + facts.fileVault},
        {u"General Tech Comments", facts.combinedComments},
        {u"DATE ARRAY", {}},
    });
}

QJsonObject els(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    const Column tail[]{
        {u"Touch Screen", QStringLiteral("No")},
        {u"Battery Health", facts.batteryPercent},
        {u"Battery Health Percentage", facts.batteryPercent},
        {u"Hardware Remarks", facts.operatingSystemText + u" | " + facts.architecture},
        {u"Unit Passes", facts.verdicts.passVerdict()},
    };
    return withColumns(hardwareHead(facts, input), tail);
}

QJsonObject project(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    const SheetVerdicts &verdicts = facts.verdicts;
    const Column tail[]{
        {u"Webcam", SheetVerdicts::yesNo(verdicts.hasWebcam)},
        {u"Physical Webcam", SheetVerdicts::yesNo(verdicts.hasWebcam)},
        {u"Touch Screen", QStringLiteral("No")},
        {u"Diagnostic Status", verdicts.checkVerdict()},
        {u"Diagnostic Check", verdicts.checkVerdict()},
        {u"Operating System", facts.operatingSystemText},
        {u"OS Build", facts.macosBuild},
        {u"OS Build Version", facts.macosBuild},
        {u"Firmware Version", facts.firmwareVersion},
        {u"Battery Health", facts.batteryPercent},
        {u"Battery Health Percentage", facts.batteryPercent},
        {u"Platform Security", verdicts.securityState},
        {u"Unit Passes", verdicts.passVerdict()},
    };
    return withColumns(hardwareHead(facts, input), tail);
}

QJsonObject amazonReturns(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return row({
        {u"Date", facts.sheetDate},
        {u"Tech", input.techName},
        {u"Tech Name", input.techName},
        {u"Asset Tag", input.assetTag},
        {u"Sent", input.sent},
        {u"Tracking No", input.trackingNumber},
        {u"Location", input.location},
        {u"Model", amazonModelLine(facts)},
        {u"Pallet No", input.palletNumber},
        {u"FSN Code", input.fsnCode},
        {u"Serial No", facts.serial},
        {u"ASIN Code", input.asinCode},
        {u"Description", facts.amazonDescription},
        {u"Issue", input.issue},
        {u"Working on it", input.workingOnIt},
        {u"Comments", input.comments},
        {u"Unit Passes", amazonUnitPasses(facts, input)},
    });
}

QString amazonUnitPasses(const PayloadFacts &facts, const UploadOperatorInput &input)
{
    return facts.verdicts.anyFail ? QStringLiteral("No") : input.unitPasses;
}

} // namespace wrenlow::sheetRows
