#include "scan/NetworkSection.h"

#include "common/TextRules.h"
#include "scan/ProfileHelpers.h"

#include <QRegularExpression>

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

void appendWifiRows(QList<InventoryValue> &rows, const QJsonObject &profile)
{
    const QJsonObject airport = profile::first(profile, QStringLiteral("SPAirPortDataType"));
    for (const QJsonObject &interface : profile::dictionaryArray(airport.value(u"spairport_airport_interfaces"))) {
        const QString name = profile::text(interface, {QStringLiteral("_name")}, QStringLiteral("Wi-Fi"));
        const QString status =
            profile::text(interface, {QStringLiteral("spairport_status_information")}, QStringLiteral("Unknown"));
        rows.append({QStringLiteral("Wi-Fi"), name + QStringLiteral(" | ") + status,
                     status == u"Connected" ? State::Good : State::Normal});

        const QString mac = profile::text(interface, {QStringLiteral("spairport_wireless_mac_address")}, {});
        if (!mac.isEmpty())
            rows.append({QStringLiteral("Wi-Fi MAC"), mac});
        const QString modes = profile::text(interface, {QStringLiteral("spairport_supported_phymodes")}, {});
        if (!modes.isEmpty())
            rows.append({QStringLiteral("Wi-Fi modes"), modes});

        const QJsonValue current = interface.value(u"spairport_current_network_information");
        if (!current.isObject())
            continue;
        const QJsonObject network = current.toObject();
        const QString link =
            joinNonEmpty({profile::text(network, {QStringLiteral("spairport_network_phymode")}, {}),
                          profile::text(network, {QStringLiteral("spairport_network_channel")}, {}),
                          profile::intText(network, QStringLiteral("spairport_network_rate"), QStringLiteral(" Mbps"))
                              .value_or(QString()),
                          profile::text(network, {QStringLiteral("spairport_signal_noise")}, {})},
                         QStringLiteral(" | "));
        if (!link.isEmpty())
            rows.append({QStringLiteral("Current Wi-Fi link"), link});
    }
}

// The rest of the first line in `lines` that begins with `prefix`, every `prefix` in it removed and blanks
// trimmed; nothing when no line begins so.
std::optional<QString> field(const QStringList &lines, const QString &prefix)
{
    for (const QString &line : lines) {
        if (!line.startsWith(prefix))
            continue;
        return trimmedOfBlanks(QString(line).remove(prefix));
    }
    return std::nullopt;
}

bool isWiredPort(const QString &port)
{
    const auto has = [&](QStringView word) { return port.contains(word, Qt::CaseInsensitive); };
    if (has(u"Bluetooth") || has(u"Thunderbolt Bridge") || has(u"Wi-Fi"))
        return false;
    return has(u"Ethernet") || has(u"LAN");
}

void appendWiredRows(QList<InventoryValue> &rows, const QString &hardwarePorts)
{
    // Any line-break character ends a line, as the platform's newline set has it.
    static const QRegularExpression anyNewline(QStringLiteral("[\\n\\x{0B}\\x{0C}\\r\\x{85}\\x{2028}\\x{2029}]"));
    for (const QString &block : hardwarePorts.split(QStringLiteral("\n\n"))) {
        const QStringList lines = block.split(anyNewline);
        const auto port = field(lines, QStringLiteral("Hardware Port:"));
        const auto device = field(lines, QStringLiteral("Device:"));
        if (!port || !device || !isWiredPort(*port))
            continue;
        const QString address = field(lines, QStringLiteral("Ethernet Address:")).value_or(QString());
        rows.append({*port, address.isEmpty() ? *device : *device + QStringLiteral(" | ") + address});
    }
}

} // namespace

InventorySection networkSection(const QJsonObject &profile, const QString &hardwarePorts)
{
    QList<InventoryValue> rows;
    appendWifiRows(rows, profile);
    appendWiredRows(rows, hardwarePorts);
    std::optional<QString> message;
    if (rows.isEmpty())
        message = QStringLiteral("No physical network adapters were reported.");
    return {QStringLiteral("network"), QStringLiteral("Physical Network"), QStringLiteral("network"), rows, message};
}

} // namespace wrenlow::builders
