#include "scan/MacInventoryService.h"

#include "scan/BatterySection.h"
#include "common/CommandRunner.h"
#include "scan/DisplaySections.h"
#include "scan/IdentitySections.h"
#include "scan/NetworkSection.h"
#include "scan/ProfileHelpers.h"
#include "scan/StorageSections.h"

#include <QCoroFuture>
#include <QElapsedTimer>
#include <QtConcurrent>

namespace wrenlow {

namespace {

// A reading tool's standard output; a failed or timed-out run reads as nothing.
QString output(const QString &command, double limit)
{
    return CommandRunner::run(command, limit).stdOut;
}

InventorySnapshot scanSince(const MacInventoryService::ToolRun &toolRun, const mactools::ToolLimits &limits,
                            const QElapsedTimer &started)
{
    InventorySnapshot snapshot = MacInventoryService::build(toolRun(limits));
    snapshot.collectedAt = QDateTime::currentDateTimeUtc();
    snapshot.elapsedSeconds = double(started.nsecsElapsed()) / 1e9;
    return snapshot;
}

} // namespace

MacInventoryService::MacInventoryService(mactools::ToolLimits limits, ToolRun toolRun)
    : m_limits(limits)
    , m_toolRun(std::move(toolRun))
{}

QCoro::Task<InventorySnapshot> MacInventoryService::scan() const
{
    // Copied before the first suspension: the scan must not depend on this service outliving it.
    const mactools::ToolLimits limits = m_limits;
    const ToolRun toolRun = m_toolRun;
    QElapsedTimer started;
    started.start();
    co_return co_await QtConcurrent::run([toolRun, limits, started] { return scanSince(toolRun, limits, started); });
}

MacToolOutputs MacInventoryService::runTools(const mactools::ToolLimits &limits)
{
    MacToolOutputs outputs;
    outputs.profile = CommandRunner::json(mactools::systemProfiler(), limits.systemProfiler).value_or(QJsonObject());
    outputs.batteryTelemetry = BatteryTelemetry::read(limits.batteryRegistry);
    outputs.architecture = output(mactools::architecture(), limits.standard);
    outputs.productVersion = output(mactools::productVersion(), limits.standard);
    outputs.buildVersion = output(mactools::buildVersion(), limits.standard);
    outputs.hardwarePorts = output(mactools::hardwarePorts(), limits.standard);
    outputs.security.integrityProtection = output(mactools::integrityProtection(), limits.standard);
    outputs.security.gatekeeper = output(mactools::gatekeeper(), limits.standard);
    outputs.security.fileVault = output(mactools::fileVault(), limits.standard);
    outputs.security.enrollment = output(mactools::enrollment(), limits.standard);
    outputs.bootTime = output(mactools::bootTime(), limits.standard);
    outputs.uptime = output(mactools::uptime(), limits.standard);
    outputs.diagnostics.biometricService = output(mactools::biometricService(), limits.standard);
    outputs.diagnostics.thermalState = output(mactools::thermalState(), limits.standard);
    return outputs;
}

InventorySnapshot MacInventoryService::build(const MacToolOutputs &outputs)
{
    using namespace builders;
    const QJsonObject &profile = outputs.profile;
    const QJsonObject hardware = profile::first(profile, QStringLiteral("SPHardwareDataType"));
    const QString machineName = profile::text(
        hardware, {QStringLiteral("machine_name"), QStringLiteral("machine_model")}, QStringLiteral("Mac"));
    const QString modelIdentifier = profile::text(hardware, {QStringLiteral("machine_model")}, profile::notReported());
    const QString modelNumber = profile::text(hardware, {QStringLiteral("model_number")}, {});
    const QString serial = profile::text(hardware, {QStringLiteral("serial_number")}, profile::notReported());

    InventorySnapshot snapshot;
    snapshot.model = modelNumber.isEmpty() ? machineName : machineName + u' ' + modelNumber;
    snapshot.serial = serial;
    snapshot.architecture = outputs.architecture;
    snapshot.osVersion = QStringLiteral("macOS ") + outputs.productVersion + QStringLiteral(" (") +
                         outputs.buildVersion + QStringLiteral(")");
    snapshot.sections = {
        identitySection(hardware, machineName, modelIdentifier, modelNumber, serial),
        firmwareSection(hardware),
        processorSection(hardware, outputs.architecture),
        memorySection(profile, hardware),
        drivesSection(profile),
        graphicsSection(profile),
        batterySection(profile, outputs.batteryTelemetry),
        networkSection(profile, outputs.hardwarePorts),
        securitySection(outputs.security),
        osSection(outputs.productVersion, outputs.buildVersion, outputs.architecture, outputs.bootTime, outputs.uptime),
    };
    snapshot.diagnostics = diagnosticItems(profile, machineName, snapshot.findSection(QStringLiteral("security")),
                                           outputs.batteryTelemetry, outputs.diagnostics);
    return snapshot;
}

} // namespace wrenlow
