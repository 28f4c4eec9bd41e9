#pragma once

#include "scan/InventoryModel.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace wrenlow {

// The inventory part of a saved report: the snapshot without its diagnostics, which the envelope carries apart.
struct InventoryReportPayload
{
    explicit InventoryReportPayload(const InventorySnapshot &snapshot);

    QDateTime collectedAt;
    double elapsedSeconds;
    QString model;
    QString serial;
    QString architecture;
    QString osVersion;
    QList<InventorySection> sections;

    QJsonObject toJson() const;
    // Every key required, read as the model reads its own; throws PlatformError as InventorySnapshot::fromJson.
    static InventoryReportPayload fromJson(const QJsonObject &object);
};

// The saved report ("latest.json"): what was found, when it was saved, and the verdict the technician saw.
struct WrenlowReportEnvelope
{
    static constexpr auto reportFormat = u"wrenlow.zel.report.v1";

    QString format;
    QDateTime savedAt;
    QString unitResult;
    InventoryReportPayload inventory;
    QList<DiagnosticItem> diagnostics;

    // Dates as ISO 8601 in UTC with whole seconds; diagnostic states as their shown texts.
    QJsonObject toJson() const;
    // Every key required; throws PlatformError as InventorySnapshot::fromJson.
    static WrenlowReportEnvelope fromJson(const QJsonObject &object);
};

} // namespace wrenlow
