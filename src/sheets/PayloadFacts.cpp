#include "sheets/PayloadFacts.h"

#include "common/TextRules.h"

#include "sheets/PayloadValues.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"

#include <QStringList>

namespace wrenlow {

namespace {

void require(bool condition, const QString &message)
{
    if (!condition)
        throw SheetsClientError::server(message);
}

// Every diagnostic, the ones that do not apply included, so that the sheet also shows what was skipped.
QString checksSummary(const QList<DiagnosticItem> &diagnostics)
{
    QStringList checks;
    for (const DiagnosticItem &item : diagnostics)
        checks.append(item.title + u": " + rawValue(item.state));
    return QStringLiteral("Wrenlow Zel macOS upload. Checks: ") + checks.join(u", ");
}

} // namespace

PayloadFacts PayloadFacts::derive(const InventorySnapshot &snapshot, const UploadOperatorInput &input)
{

    PayloadFacts facts;
    facts.normalizedEmpId = wrenlow::normalizedEmpId(input.empId);
    require(!facts.normalizedEmpId.isEmpty(), QStringLiteral("EMP ID is required."));
    facts.isAmazon = facts.normalizedEmpId == u"AMZN";
    facts.routingProject = facts.isAmazon ? QStringLiteral("Incoming Amazon Returns") : input.projectId.trimmed();
    require(!facts.routingProject.isEmpty(), QStringLiteral("A project is required."));

    const InventorySection identity = snapshot.sectionOrPlaceholder(QStringLiteral("identity"));
    const InventorySection processor = snapshot.sectionOrPlaceholder(QStringLiteral("processor"));
    const InventorySection memory = snapshot.sectionOrPlaceholder(QStringLiteral("memory"));
    const InventorySection drives = snapshot.sectionOrPlaceholder(QStringLiteral("drives"));
    const InventorySection battery = snapshot.sectionOrPlaceholder(QStringLiteral("battery"));
    const InventorySection macos = snapshot.sectionOrPlaceholder(QStringLiteral("macos"));
    const InventorySection firmware = snapshot.sectionOrPlaceholder(QStringLiteral("firmware"));
    const InventorySection security = snapshot.sectionOrPlaceholder(QStringLiteral("security"));

    facts.serial = identity.reportedValue(QStringLiteral("Serial number"));
    require(!facts.serial.isEmpty(), QStringLiteral("A serial number is required before upload."));
    if (facts.isAmazon) {
        // Trimmed only to decide; the rows carry what the technician typed.
        require(!input.techName.trimmed().isEmpty(), QStringLiteral("Technician name is required for Amazon Returns."));
        require(!input.assetTag.trimmed().isEmpty(), QStringLiteral("AZ number is required for Amazon Returns."));
    }

    facts.make = QStringLiteral("Apple");
    facts.model = identity.reportedValue(QStringLiteral("Model"));
    facts.cpu = payload::nonEmpty(processor.reportedValue(QStringLiteral("Apple silicon")))
                    .value_or(processor.reportedValue(QStringLiteral("Processor")));
    facts.ram = payload::compactCapacity(memory.reportedValue(QStringLiteral("Installed")));
    facts.storage = payload::storageSummary(drives);
    facts.batteryPercent =
        payload::percentage(payload::nonEmpty(battery.reportedValue(QStringLiteral("Overall health")))
                                .value_or(battery.reportedValue(QStringLiteral("Maximum capacity"))));
    facts.macosVersion = macos.reportedValue(QStringLiteral("Version"));
    facts.macosBuild = macos.reportedValue(QStringLiteral("Build"));
    facts.architecture =
        payload::nonEmpty(macos.reportedValue(QStringLiteral("Architecture"))).value_or(snapshot.architecture);
    facts.firmwareVersion = firmware.reportedValue(QStringLiteral("System firmware"));
    facts.fileVault = security.reportedValue(QStringLiteral("FileVault"));
    facts.sip = security.reportedValue(QStringLiteral("System Integrity Protection"));
    facts.gatekeeper = security.reportedValue(QStringLiteral("Gatekeeper"));
    facts.operatingSystemText = QStringLiteral("macOS ") + facts.macosVersion;
    facts.chassisText = isLaptopName(snapshot.model) ? QStringLiteral("Laptop") : QStringLiteral("Desktop");

    facts.verdicts = SheetVerdicts::from(snapshot);
    facts.sheetDate = payload::wrenlowDate(snapshot.collectedAt);
    facts.reportId = payload::makeReportID(snapshot, facts.normalizedEmpId, facts.routingProject, facts.serial);
    facts.combinedComments = joinNonEmpty({input.comments.trimmed(), checksSummary(snapshot.diagnostics)}, u" ");
    facts.amazonDescription =
        input.description.trimmed().isEmpty()
            ? joinNonEmpty({facts.make, facts.model, facts.cpu, facts.ram, facts.storage, facts.operatingSystemText},
                           u" / ")
            : input.description;
    facts.allowDuplicate = input.duplicateAction == u"append" || input.duplicateAction == u"overwrite";
    return facts;
}

} // namespace wrenlow
