#include "report/WrenlowReportEnvelope.h"

#include <QJsonArray>

namespace wrenlow {

InventoryReportPayload::InventoryReportPayload(const InventorySnapshot &snapshot)
    : collectedAt(snapshot.collectedAt)
    , elapsedSeconds(snapshot.elapsedSeconds)
    , model(snapshot.model)
    , serial(snapshot.serial)
    , architecture(snapshot.architecture)
    , osVersion(snapshot.osVersion)
    , sections(snapshot.sections)
{}

QJsonObject InventoryReportPayload::toJson() const
{
    // The model's own JSON forms, less the diagnostics, which the envelope carries beside the inventory.
    const InventorySnapshot inventory{collectedAt,  elapsedSeconds, model,    serial,
                                      architecture, osVersion,      sections, {}};
    QJsonObject object = inventory.toJson();
    object.remove(QStringLiteral("diagnostics"));
    return object;
}

QJsonObject WrenlowReportEnvelope::toJson() const
{
    QJsonArray diagnosticArray;
    for (const DiagnosticItem &item : diagnostics)
        diagnosticArray.append(item.toJson());
    return {{QStringLiteral("format"), format},
            {QStringLiteral("savedAt"), isoDateText(savedAt)},
            {QStringLiteral("unitResult"), unitResult},
            {QStringLiteral("inventory"), inventory.toJson()},
            {QStringLiteral("diagnostics"), diagnosticArray}};
}

} // namespace wrenlow
