#pragma once

#include "scan/BatteryTelemetry.h"
#include "scan/InventoryModel.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace wrenlow::builders {

// What the two diagnostic tools printed on their standard output (empty when a tool failed).
struct DiagnosticToolOutput
{
    QString biometricService;
    QString thermalState;
};

// The twelve diagnostics of a scan, always the same ids in the same order: eight findings the scan settles and
// four hands-on tests it only prepares. `security` is the scan's security card, when there is one.
QList<DiagnosticItem> diagnosticItems(const QJsonObject &profile, const QString &machineName,
                                      const InventorySection *security,
                                      const std::optional<BatteryTelemetry> &batteryTelemetry,
                                      const DiagnosticToolOutput &tools);

} // namespace wrenlow::builders
