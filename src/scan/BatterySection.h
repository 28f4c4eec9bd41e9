#pragma once

#include "scan/BatteryTelemetry.h"
#include "scan/InventoryModel.h"

#include <QJsonObject>

#include <optional>

namespace wrenlow::builders {

// The battery card from the profile's power report and the gauge figures, when the scan read any.
InventorySection batterySection(const QJsonObject &profile, const std::optional<BatteryTelemetry> &telemetry);

} // namespace wrenlow::builders
