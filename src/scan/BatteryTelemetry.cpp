#include "scan/BatteryTelemetry.h"

#include "common/WrenlowError.h"
#include "scan/MacTools.h"
#include "scan/PropertyList.h"

#include <QVariantList>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wrenlow {

namespace {

// A registry number as a double. Values that are not finite count as missing: no figure can be built on them.
std::optional<double> number(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return double(value.toLongLong());
    case QMetaType::ULongLong:
        return double(value.toULongLong());
    case QMetaType::Bool:
        return value.toBool() ? 1.0 : 0.0;
    case QMetaType::Double: {
        const double real = value.toDouble();
        return std::isfinite(real) ? std::optional<double>(real) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// A registry number as an integer; a real is truncated, and one outside the integer range counts as missing.
std::optional<qint64> integer(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Double: {
        const double real = std::trunc(value.toDouble());
        // 2^63 is exact in a double; anything from there on does not fit.
        constexpr double limit = 9223372036854775808.0;
        if (!std::isfinite(real) || real >= limit || real < -limit)
            return std::nullopt;
        return qint64(real);
    }
    default: // above the signed range, or not a number at all
        return std::nullopt;
    }
}

std::optional<double> percentOf(std::optional<double> part, std::optional<double> whole)
{
    if (!part || !whole || *whole <= 0)
        return std::nullopt;
    const double percent = *part / *whole * 100.0;
    return std::isfinite(percent) ? std::optional<double>(percent) : std::nullopt;
}

} // namespace

std::optional<double> BatteryTelemetry::rawCapacityRetentionPercent() const
{
    return percentOf(fullChargeCapacity, designCapacity);
}

std::optional<double> BatteryTelemetry::nominalCapacityRetentionPercent() const
{
    return percentOf(nominalChargeCapacity, designCapacity);
}

std::optional<double> BatteryTelemetry::cycleUsePercent() const
{
    if (!cycleCount || !designCycleCount || *designCycleCount <= 0)
        return std::nullopt;
    return double(*cycleCount) / double(*designCycleCount) * 100.0;
}

std::optional<int> BatteryTelemetry::overallHealthPercent(const QString &condition) const
{
    const auto raw = rawCapacityRetentionPercent();
    const auto nominal = nominalCapacityRetentionPercent();
    double base = 0;
    if (raw && nominal)
        base = *raw * 0.6 + *nominal * 0.4;
    else if (raw || nominal)
        base = raw ? *raw : *nominal;
    else
        return std::nullopt;

    // Wear beyond 80 % of the design cycles costs up to 12 points, reached at 130 %.
    if (const auto cycleUse = cycleUsePercent(); cycleUse && *cycleUse > 80)
        base -= std::min(*cycleUse - 80, 50.0) / 50.0 * 12.0;

    const bool conditionIsFine = condition.compare(u"Good", Qt::CaseInsensitive) == 0 ||
                                 condition.compare(u"Not reported", Qt::CaseInsensitive) == 0;
    if (!condition.isEmpty() && !conditionIsFine)
        base = std::min(base, 70.0);

    base = std::max(std::min(base, 100.0), 0.0);
    return int(std::round(base)); // std::round takes ties away from zero
}

std::optional<BatteryTelemetry> BatteryTelemetry::read(double limit)
{
    return fromRegistry(CommandRunner::run(mactools::batteryRegistry(), limit));
}

std::optional<BatteryTelemetry> BatteryTelemetry::fromRegistry(const CommandRunner::Result &result)
{
    if (result.status != 0)
        return std::nullopt;
    QVariant document;
    try {
        document = PropertyList::parse(result.stdOut.toUtf8());
    } catch (const WrenlowError &) {
        return std::nullopt; // not a property list: the scan goes on without gauge figures
    }
    if (document.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    const QVariantList entries = document.toList();
    const bool allDictionaries = std::all_of(entries.cbegin(), entries.cend(), [](const QVariant &entry) {
        return entry.typeId() == QMetaType::QVariantMap;
    });
    if (entries.isEmpty() || !allDictionaries)
        return std::nullopt;

    const QVariantMap entry = entries.first().toMap();
    const QVariant batteryData = entry.value(QStringLiteral("BatteryData"));
    const QVariantMap data = batteryData.typeId() == QMetaType::QVariantMap ? batteryData.toMap() : QVariantMap();
    BatteryTelemetry telemetry;
    // Intel laptops, and Apple silicon ones before the newest macOS, keep the raw full-charge capacity only as
    // "AppleRawMaxCapacity" beside the battery data, and the design capacity there too.
    telemetry.designCapacity = number(data, QStringLiteral("DesignCapacity"));
    if (!telemetry.designCapacity)
        telemetry.designCapacity = number(entry, QStringLiteral("DesignCapacity"));
    telemetry.fullChargeCapacity = number(data, QStringLiteral("FullChargeCapacity"));
    if (!telemetry.fullChargeCapacity)
        telemetry.fullChargeCapacity = number(entry, QStringLiteral("AppleRawMaxCapacity"));
    telemetry.nominalChargeCapacity = number(data, QStringLiteral("NominalChargeCapacity"));
    telemetry.cycleCount = integer(entry, QStringLiteral("CycleCount"));
    if (!telemetry.cycleCount)
        telemetry.cycleCount = integer(data, QStringLiteral("CycleCount"));
    telemetry.designCycleCount = integer(entry, QStringLiteral("DesignCycleCount9C"));
    return telemetry;
}

} // namespace wrenlow
