#pragma once

#include "common/CommandRunner.h"

#include <QString>

#include <optional>

namespace wrenlow {

// The battery's own gauge figures from the I/O registry, read once per scan and shared by the battery card
// and the battery diagnostic. Any figure may be missing.
struct BatteryTelemetry
{
    std::optional<double> designCapacity;        // mAh
    std::optional<double> fullChargeCapacity;    // mAh, raw (uncompensated)
    std::optional<double> nominalChargeCapacity; // mAh
    std::optional<qint64> cycleCount;
    std::optional<qint64> designCycleCount;

    std::optional<double> rawCapacityRetentionPercent() const;
    std::optional<double> nominalCapacityRetentionPercent() const;
    std::optional<double> cycleUsePercent() const;

    // The composite health figure: capacity retention, less a cycle-wear penalty, capped by a poor
    // condition, clamped to 0...100. `condition` is the battery's condition text as the card shows it.
    std::optional<int> overallHealthPercent(const QString &condition) const;

    // Runs the battery registry query with `limit` seconds and reads its answer.
    static std::optional<BatteryTelemetry> read(double limit);
    // The telemetry of the query's result: nothing unless it succeeded with a list of registry entries.
    static std::optional<BatteryTelemetry> fromRegistry(const CommandRunner::Result &result);
};

} // namespace wrenlow
