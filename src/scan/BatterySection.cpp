#include "scan/BatterySection.h"

#include "common/TextRules.h"
#include "common/FixedDecimal.h"
#include "scan/ProfileHelpers.h"

#include <cmath>

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

// A capacity in whole mAh, rounded half away from zero.
QString wholeMilliampHours(double capacity)
{
    return fixedDecimal(std::round(capacity) + 0.0, 0); // + 0.0 turns a rounded -0 into 0
}

State atLeast80(double percent)
{
    return percent >= 80 ? State::Good : State::Warning;
}

struct PowerReport
{
    QJsonObject health;
    QJsonObject charge;
};

std::optional<PowerReport> powerReport(const QJsonObject &profile)
{
    const QList<QJsonObject> power = profile::dictionaryArray(profile.value(u"SPPowerDataType"));
    if (power.isEmpty())
        return std::nullopt;
    const QJsonValue health = power.first().value(u"sppower_battery_health_info");
    if (!health.isObject())
        return std::nullopt;
    return PowerReport{health.toObject(), power.first().value(u"sppower_battery_charge_info").toObject()};
}

QString powerState(const QJsonObject &charge)
{
    if (charge.value(u"sppower_battery_is_charging") == QJsonValue(QStringLiteral("TRUE")))
        return QStringLiteral("Charging");
    if (charge.value(u"sppower_battery_fully_charged") == QJsonValue(QStringLiteral("TRUE")))
        return QStringLiteral("Fully charged");
    return QStringLiteral("On battery / not charging");
}

void appendCycleRows(QList<InventoryValue> &rows, const QJsonObject &health,
                     const std::optional<BatteryTelemetry> &telemetry)
{
    std::optional<qint64> cycles;
    if (telemetry)
        cycles = telemetry->cycleCount;
    if (!cycles) {
        if (const auto reported = profile::intText(health, QStringLiteral("sppower_battery_cycle_count")))
            cycles = decimalInteger(*reported);
    }
    if (!cycles)
        return;
    const std::optional<qint64> design = telemetry ? telemetry->designCycleCount : std::nullopt;
    if (!design || *design <= 0) {
        rows.append({QStringLiteral("Cycle count"), QString::number(*cycles)});
        return;
    }
    rows.append(
        {QStringLiteral("Cycle count"), QString::number(*cycles) + QStringLiteral(" / ") + QString::number(*design)});
    const double used = double(*cycles) / double(*design) * 100.0;
    rows.append(
        {QStringLiteral("Cycle budget used"), fixedDecimal(used, 0) + u'%', used <= 80 ? State::Good : State::Warning});
}

} // namespace

InventorySection batterySection(const QJsonObject &profile, const std::optional<BatteryTelemetry> &telemetry)
{
    const QString key = QStringLiteral("battery");
    const QString title = QStringLiteral("Battery");
    const QString symbol = QStringLiteral("battery.100");
    const auto power = powerReport(profile);
    if (!power)
        return {key, title, symbol, {}, QStringLiteral("No internal battery detected.")};

    const QString condition =
        profile::text(power->health, {QStringLiteral("sppower_battery_health")}, profile::notReported());
    QList<InventoryValue> rows;
    if (telemetry) {
        if (const auto overall = telemetry->overallHealthPercent(condition))
            rows.append({QStringLiteral("Overall health"), QString::number(*overall) + u'%', atLeast80(*overall)});
    }
    if (const auto maximum =
            profile::textOptional(power->health, QStringLiteral("sppower_battery_health_maximum_capacity"))) {
        const auto percent = decimalInteger(QString(*maximum).remove(u'%'));
        rows.append(
            {QStringLiteral("Maximum capacity"), *maximum, percent && *percent >= 80 ? State::Good : State::Warning});
    }
    if (telemetry) {
        if (const auto retention = telemetry->rawCapacityRetentionPercent()) {
            rows.append(
                {QStringLiteral("Raw capacity retention"), fixedDecimal(*retention, 1) + u'%', atLeast80(*retention)});
        }
        if (telemetry->fullChargeCapacity && telemetry->designCapacity) {
            rows.append({QStringLiteral("Raw full / design"),
                         wholeMilliampHours(*telemetry->fullChargeCapacity) + QStringLiteral(" / ") +
                             wholeMilliampHours(*telemetry->designCapacity) + QStringLiteral(" mAh")});
        }
    }
    appendCycleRows(rows, power->health, telemetry);
    rows.append({QStringLiteral("Condition"), condition, condition == u"Good" ? State::Good : State::Warning});
    if (const auto charge =
            profile::intText(power->charge, QStringLiteral("sppower_battery_state_of_charge"), QStringLiteral("%")))
        rows.append({QStringLiteral("Current charge"), *charge});
    rows.append({QStringLiteral("Power state"), powerState(power->charge)});

    return {key, title, symbol, rows,
            QStringLiteral("Overall health is a Wrenlow composite from raw full-charge/design capacity, nominal "
                           "capacity, cycle budget, and Apple condition. Maximum capacity remains Apple's own "
                           "reported percentage.")};
}

} // namespace wrenlow::builders
