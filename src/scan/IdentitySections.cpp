#include "scan/IdentitySections.h"

#include "scan/ProfileHelpers.h"

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

// The cores row of the processor card, or nothing when the record holds no usable count.
std::optional<InventoryValue> coresRow(const QJsonObject &hardware)
{
    if (const auto cores = profile::numberText(hardware.value(u"number_cores")))
        return InventoryValue(QStringLiteral("Physical cores"), *cores);

    const QJsonValue processors = hardware.value(u"number_processors");
    if (processors.isString()) {
        // Apple silicon describes its topology as "proc <total>:<performance>:<efficiency>".
        const QString topology = processors.toString();
        const QStringList words = topology.split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 2) {
            const QStringList counts = words.at(1).split(u':', Qt::SkipEmptyParts);
            if (!counts.isEmpty())
                return InventoryValue(QStringLiteral("CPU cores"), counts.first());
        }
        return InventoryValue(QStringLiteral("Processor topology"), topology);
    }
    // Intel Macs report their total core count here as a plain number.
    if (const auto total = profile::numberText(processors))
        return InventoryValue(QStringLiteral("Physical cores"), *total);
    return std::nullopt;
}

// Intel Macs report their speed only as "current_processor_speed"; it stands in when "processor_speed" is absent.
std::optional<QString> reportedSpeed(const QJsonObject &hardware)
{
    const QString key = hardware.contains(u"processor_speed") ? QStringLiteral("processor_speed")
                                                              : QStringLiteral("current_processor_speed");
    const QJsonValue speed = hardware.value(key);
    if (!speed.isString())
        return std::nullopt;
    return speed.toString();
}

} // namespace

InventorySection identitySection(const QJsonObject &hardware, const QString &machineName,
                                 const QString &modelIdentifier, const QString &modelNumber, const QString &serial)
{
    QList<InventoryValue> rows{
        {QStringLiteral("Manufacturer"), QStringLiteral("Apple"), State::Good},
        {QStringLiteral("Model"), machineName, State::Good},
        {QStringLiteral("Model identifier"), modelIdentifier},
        {QStringLiteral("Serial number"), serial, serial == profile::notReported() ? State::Warning : State::Good},
    };
    if (!modelNumber.isEmpty())
        rows.append({QStringLiteral("Model number"), modelNumber});
    const QString uuid = profile::text(hardware, {QStringLiteral("platform_UUID")}, {});
    if (!uuid.isEmpty())
        rows.append({QStringLiteral("System UUID"), uuid});

    const QString symbol =
        isLaptopName(machineName) ? QStringLiteral("laptopcomputer") : QStringLiteral("desktopcomputer");
    return {QStringLiteral("identity"), QStringLiteral("Mac Identity"), symbol, rows, std::nullopt};
}

InventorySection firmwareSection(const QJsonObject &hardware)
{
    const QString bootRom = profile::text(hardware, {QStringLiteral("boot_rom_version")}, {});
    const QString osLoader = profile::text(hardware, {QStringLiteral("os_loader_version")}, {});
    const QString activationLock = profile::text(hardware, {QStringLiteral("activation_lock_status")}, {});

    QList<InventoryValue> rows;
    if (!bootRom.isEmpty())
        rows.append({QStringLiteral("System firmware"), bootRom});
    if (!osLoader.isEmpty())
        rows.append({QStringLiteral("OS loader"), osLoader});
    if (!activationLock.isEmpty()) {
        rows.append({QStringLiteral("Activation Lock"), activationLock,
                     activationLock == u"Enabled" ? State::Good : State::Normal});
    }
    std::optional<QString> message;
    if (rows.isEmpty())
        message = QStringLiteral("Firmware details were not reported.");
    return {QStringLiteral("firmware"), QStringLiteral("Firmware & Platform"), QStringLiteral("cpu"), rows, message};
}

InventorySection processorSection(const QJsonObject &hardware, const QString &architecture)
{
    // "cpu_type" is where Intel Macs name their processor.
    const QString name = profile::text(
        hardware, {QStringLiteral("chip_type"), QStringLiteral("processor_name"), QStringLiteral("cpu_type")},
        profile::notReported());
    const QString nameLabel = architecture == u"arm64" ? QStringLiteral("Apple silicon") : QStringLiteral("Processor");

    QList<InventoryValue> rows{{nameLabel, name, State::Good}, {QStringLiteral("Architecture"), architecture}};
    if (const auto speed = reportedSpeed(hardware))
        rows.append({QStringLiteral("Reported speed"), *speed});
    if (auto cores = coresRow(hardware))
        rows.append(std::move(*cores));
    return {QStringLiteral("processor"), QStringLiteral("Processor"), QStringLiteral("cpu"), rows, std::nullopt};
}

} // namespace wrenlow::builders
