#include "sheets/PayloadFacts.h"

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

QString joinNonEmpty(const QStringList &pieces, QStringView separator)
{
    QStringList kept;
    for (const QString &piece : pieces) {
        if (!piece.isEmpty())
            kept.append(piece);
    }
    return kept.join(separator);
}

} // namespace

PayloadFacts PayloadFacts::derive(const InventorySnapshot &snapshot, const UploadOperatorInput &input)
{
    using payload::value;

    PayloadFacts facts;
    facts.normalizedEmpId = input.empId.trimmed().toUpper();
    require(!facts.normalizedEmpId.isEmpty(), QStringLiteral("EMP ID is required."));
    facts.isAmazon = facts.normalizedEmpId == u"AMZN";
    facts.routingProject = facts.isAmazon ? QStringLiteral("Incoming Amazon Returns") : input.projectId.trimmed();
    require(!facts.routingProject.isEmpty(), QStringLiteral("A project is required."));

    const InventorySection identity = payload::section(QStringLiteral("identity"), snapshot);
    const InventorySection processor = payload::section(QStringLiteral("processor"), snapshot);
    const InventorySection memory = payload::section(QStringLiteral("memory"), snapshot);
    const InventorySection drives = payload::section(QStringLiteral("drives"), snapshot);
    const InventorySection battery = payload::section(QStringLiteral("battery"), snapshot);
    const InventorySection macos = payload::section(QStringLiteral("macos"), snapshot);
    const InventorySection firmware = payload::section(QStringLiteral("firmware"), snapshot);
    const InventorySection security = payload::section(QStringLiteral("security"), snapshot);

    facts.serial = value(QStringLiteral("Serial number"), identity);
    require(!facts.serial.isEmpty(), QStringLiteral("A serial number is required before upload."));
    if (facts.isAmazon) {
        // Trimmed only to decide; the rows carry what the technician typed.
        require(!input.techName.trimmed().isEmpty(), QStringLiteral("Technician name is required for Amazon Returns."));
        require(!input.assetTag.trimmed().isEmpty(), QStringLiteral("AZ number is required for Amazon Returns."));
    }

    facts.make = QStringLiteral("Apple");
    facts.model = value(QStringLiteral("Model"), identity);
    facts.cpu = payload::nonEmpty(value(QStringLiteral("Apple silicon"), processor))
                    .value_or(value(QStringLiteral("Processor"), processor));
    facts.ram = payload::compactCapacity(value(QStringLiteral("Installed"), memory));
    facts.storage = payload::storageSummary(drives);
    facts.batteryPercent = payload::percentage(payload::nonEmpty(value(QStringLiteral("Overall health"), battery))
                                                   .value_or(value(QStringLiteral("Maximum capacity"), battery)));
    facts.macosVersion = value(QStringLiteral("Version"), macos);
    facts.macosBuild = value(QStringLiteral("Build"), macos);
    facts.architecture =
        payload::nonEmpty(value(QStringLiteral("Architecture"), macos)).value_or(snapshot.architecture);
    facts.firmwareVersion = value(QStringLiteral("System firmware"), firmware);
    facts.fileVault = value(QStringLiteral("FileVault"), security);
    facts.sip = value(QStringLiteral("System Integrity Protection"), security);
    facts.gatekeeper = value(QStringLiteral("Gatekeeper"), security);
    facts.operatingSystemText = QStringLiteral("macOS ") + facts.macosVersion;
    facts.chassisText =
        snapshot.model.contains(u"MacBook", Qt::CaseInsensitive) ? QStringLiteral("Laptop") : QStringLiteral("Desktop");

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
