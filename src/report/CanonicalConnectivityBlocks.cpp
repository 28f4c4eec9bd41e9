// The connectivity, security and battery blocks of the canonical report.
#include "report/MacCanonicalInventoryBuilder.h"

#include "scan/InventoryModel.h"

#include <QJsonArray>

namespace wrenlow {

namespace {

const QString wifiLabel = QStringLiteral("Wi-Fi");

// Every row of the network section that does not describe Wi-Fi is a wired port named by its label.
bool isAdapterRow(const InventoryValue &row)
{
    return row.label != wifiLabel && !row.label.contains(u"MAC", Qt::CaseInsensitive) &&
           !row.label.contains(u"modes", Qt::CaseInsensitive) && !row.label.contains(u"link", Qt::CaseInsensitive);
}

// 2^63: the first value that a 64-bit signed integer cannot hold (exact as a double).
constexpr double int64Limit = 9223372036854775808.0;

} // namespace

QJsonObject MacCanonicalInventoryBuilder::buildConnectivity(const InventorySnapshot &snapshot)
{
    const InventorySection network = section(snapshot, QStringLiteral("network"));
    const InventoryValue *wifi = network.findValue(wifiLabel);

    QJsonObject block{{QStringLiteral("state"), QStringLiteral("known")}};
    if (!wifi) {
        block.insert(QStringLiteral("wifi"), unknown());
    } else {
        block.insert(
            QStringLiteral("wifi"),
            QJsonObject{{QStringLiteral("state"), QStringLiteral("known")},
                        {QStringLiteral("present"), true},
                        {QStringLiteral("interface"), wifi->value},
                        {QStringLiteral("capabilities"), value(network, QStringLiteral("Wi-Fi modes"))},
                        {QStringLiteral("current_link"), value(network, QStringLiteral("Current Wi-Fi link"))}});
    }

    QJsonArray adapters;
    for (const InventoryValue &row : network.values) {
        if (isAdapterRow(row))
            adapters.append(QJsonObject{{QStringLiteral("name"), row.label}, {QStringLiteral("value"), row.value}});
    }
    if (!adapters.isEmpty())
        block.insert(QStringLiteral("ethernet"), QJsonObject{{QStringLiteral("state"), QStringLiteral("known")},
                                                             {QStringLiteral("adapters"), adapters}});
    return block;
}

QJsonObject MacCanonicalInventoryBuilder::buildSecurity(const InventorySnapshot &snapshot)
{
    const InventorySection security = section(snapshot, QStringLiteral("security"));
    const InventorySection firmware = section(snapshot, QStringLiteral("firmware"));
    return {
        {QStringLiteral("state"), QStringLiteral("known")},
        {QStringLiteral("system_integrity_protection"), value(security, QStringLiteral("System Integrity Protection"))},
        {QStringLiteral("gatekeeper"), value(security, QStringLiteral("Gatekeeper"))},
        {QStringLiteral("filevault"), value(security, QStringLiteral("FileVault"))},
        {QStringLiteral("mdm_enrollment"), value(security, QStringLiteral("MDM Enrollment"))},
        {QStringLiteral("automated_device_enrollment"), value(security, QStringLiteral("Automated Device Enrollment"))},
        {QStringLiteral("activation_lock"), value(firmware, QStringLiteral("Activation Lock"))},
    };
}

QJsonObject MacCanonicalInventoryBuilder::buildBattery(const InventorySnapshot &snapshot)
{
    const InventorySection battery = section(snapshot, QStringLiteral("battery"));
    if (battery.values.isEmpty())
        return {{QStringLiteral("state"), QStringLiteral("confirmed_absent")}, {QStringLiteral("present"), false}};

    QJsonObject block{{QStringLiteral("state"), QStringLiteral("known")}, {QStringLiteral("detected"), true}};
    QString health = value(battery, QStringLiteral("Overall health"));
    if (health.isEmpty())
        health = value(battery, QStringLiteral("Maximum capacity"));
    if (const auto percent = firstNumber(health))
        block.insert(QStringLiteral("health_percent"), *percent);
    // The pattern knows no sign, so only the upper end of the 64-bit range needs guarding.
    if (const auto cycles = firstNumber(value(battery, QStringLiteral("Cycle count"))); cycles && *cycles < int64Limit)
        block.insert(QStringLiteral("cycle_count"), static_cast<qint64>(*cycles));
    put(block, QStringLiteral("condition"), value(battery, QStringLiteral("Condition")));
    put(block, QStringLiteral("current_charge"), value(battery, QStringLiteral("Current charge")));
    return block;
}

} // namespace wrenlow
