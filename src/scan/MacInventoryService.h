#pragma once

#include "scan/BatteryTelemetry.h"
#include "scan/Diagnostics.h"
#include "scan/InventoryModel.h"
#include "scan/MacTools.h"
#include "scan/SecuritySection.h"

#include <QCoroTask>
#include <QJsonObject>

#include <functional>
#include <optional>

namespace wrenlow {

// What one scan's tools delivered, read but not yet interpreted. A tool that failed left its fallback:
// an empty profile, no battery telemetry, an empty text.
struct MacToolOutputs
{
    QJsonObject profile;
    std::optional<BatteryTelemetry> batteryTelemetry;
    QString architecture;
    QString productVersion;
    QString buildVersion;
    QString hardwarePorts;
    builders::SecurityToolOutput security;
    QString bootTime;
    QString uptime;
    builders::DiagnosticToolOutput diagnostics;
};

// The Mac scan: runs the system's reporting tools one after another, builds the ten inventory sections and
// the twelve diagnostics, and hands back one snapshot. A scan never fails; whatever a tool does not deliver
// shows up as a fallback in the snapshot.
class MacInventoryService
{
public:
    // What runs the tools on the scan's worker thread; tests replace it.
    using ToolRun = std::function<MacToolOutputs(const mactools::ToolLimits &limits)>;

    explicit MacInventoryService(mactools::ToolLimits limits = {}, ToolRun toolRun = &MacInventoryService::runTools);

    // Runs on a worker thread and resumes the caller on its own thread with the snapshot.
    QCoro::Task<InventorySnapshot> scan() const;

    // Runs the fourteen tool commands in the scan's order, blocking the calling thread.
    static MacToolOutputs runTools(const mactools::ToolLimits &limits);

    // The snapshot's facts, sections and diagnostics; the caller stamps the time and duration.
    static InventorySnapshot build(const MacToolOutputs &outputs);

private:
    mactools::ToolLimits m_limits;
    ToolRun m_toolRun;
};

} // namespace wrenlow
