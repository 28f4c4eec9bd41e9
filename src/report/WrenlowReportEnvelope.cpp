#include "report/WrenlowReportEnvelope.h"

#include "common/JsonFields.h"

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

InventoryReportPayload InventoryReportPayload::fromJson(const QJsonObject &object)
{
    // Read through the snapshot's own reader, so that keys, dates and texts follow one rule; the payload carries no
    // diagnostics, so an empty list stands in for them (a "diagnostics" key the payload may hold is ignored).
    QJsonObject inventory = object;
    inventory.insert(QStringLiteral("diagnostics"), QJsonArray());
    return InventoryReportPayload(InventorySnapshot::fromJson(inventory));
}

QJsonObject WrenlowReportEnvelope::toJson() const
{
    return {{QStringLiteral("format"), format},
            {QStringLiteral("savedAt"), isoDateText(savedAt)},
            {QStringLiteral("unitResult"), unitResult},
            {QStringLiteral("inventory"), inventory.toJson()},
            {QStringLiteral("diagnostics"), json::encodedList(diagnostics)}};
}

WrenlowReportEnvelope WrenlowReportEnvelope::fromJson(const QJsonObject &object)
{
    return {json::requireString(object, QStringLiteral("format")), requireIsoDate(object, QStringLiteral("savedAt")),
            json::requireString(object, QStringLiteral("unitResult")),
            InventoryReportPayload::fromJson(json::requireObject(object, QStringLiteral("inventory"))),
            json::decodedList<DiagnosticItem>(object, QStringLiteral("diagnostics"))};
}

} // namespace wrenlow
