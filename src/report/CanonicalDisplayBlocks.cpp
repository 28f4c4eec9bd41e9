// The graphics and display blocks of the canonical report.
#include "report/MacCanonicalInventoryBuilder.h"

#include "scan/InventoryModel.h"

#include <QJsonArray>

namespace wrenlow {

namespace {

// "Graphics" or "Graphics <n>", and the same for displays; the bare word stands for a single item.
bool isNumberedRow(const InventoryValue &row, const QString &word)
{
    return row.label == word || row.label.startsWith(word + u' ');
}

bool containsAny(const QString &text, std::initializer_list<const char16_t *> words)
{
    for (const char16_t *word : words) {
        if (text.contains(QStringView(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString vendorOf(const QString &model, bool appleSilicon)
{
    if (appleSilicon || containsAny(model, {u"Apple"}))
        return QStringLiteral("Apple");
    if (containsAny(model, {u"Intel"}))
        return QStringLiteral("Intel");
    if (containsAny(model, {u"AMD", u"Radeon"}))
        return QStringLiteral("AMD");
    if (containsAny(model, {u"NVIDIA", u"GeForce"}))
        return QStringLiteral("NVIDIA");
    return {};
}

} // namespace

QJsonObject MacCanonicalInventoryBuilder::buildGraphics(const InventorySnapshot &snapshot)
{
    const InventorySection graphics = section(snapshot, QStringLiteral("graphics"));
    const bool appleSilicon = isAppleSilicon(snapshot);
    QJsonArray adapters;
    for (const InventoryValue &row : graphics.values) {
        if (!isNumberedRow(row, QStringLiteral("Graphics")) || row.label.contains(u"cores"))
            continue;
        // Discrete adapters, too, carry the role "integrated": the format has never told the two apart.
        QJsonObject adapter{{QStringLiteral("role"), QStringLiteral("integrated")},
                            {QStringLiteral("model"), row.value}};
        put(adapter, QStringLiteral("vendor"), vendorOf(row.value, appleSilicon));
        adapters.append(adapter);
    }
    if (adapters.isEmpty())
        return unknown();
    return {{QStringLiteral("state"), QStringLiteral("known")}, {QStringLiteral("adapters"), adapters}};
}

QJsonObject MacCanonicalInventoryBuilder::buildDisplay(const InventorySnapshot &snapshot)
{
    const InventorySection graphics = section(snapshot, QStringLiteral("graphics"));
    QJsonArray monitors;
    for (const InventoryValue &row : graphics.values) {
        if (!isNumberedRow(row, QStringLiteral("Display")))
            continue;
        // The scan writes a display as its name and its resolution text, joined by a bar.
        const QStringList parts = barSeparatedParts(row.value);
        if (parts.isEmpty())
            continue;
        QJsonObject monitor{{QStringLiteral("name"), parts.at(0)}};
        if (parts.size() >= 2) {
            monitor.insert(QStringLiteral("native_resolution"), parts.at(1));
            if (const auto rate = refreshRate(parts.at(1)))
                monitor.insert(QStringLiteral("refresh_rate_hz"), *rate);
        }
        monitors.append(monitor);
    }

    QJsonObject block{
        {QStringLiteral("state"), monitors.isEmpty() ? QStringLiteral("unknown") : QStringLiteral("known")}};
    if (!monitors.isEmpty()) {
        block.insert(QStringLiteral("monitors"), monitors);
        // On a laptop the first display is taken to be its own panel.
        if (isLaptopName(snapshot.model)) {
            QJsonObject panel = monitors.at(0).toObject();
            for (const QString &key : {QStringLiteral("native_resolution"), QStringLiteral("refresh_rate_hz")}) {
                if (panel.contains(key))
                    block.insert(key, panel.value(key));
            }
            panel.insert(QStringLiteral("built_in"), true);
            block.insert(QStringLiteral("built_in_panel"), panel);
        }
    }
    block.insert(QStringLiteral("touchscreen"), QJsonObject{{QStringLiteral("detected"), false}});
    return block;
}

} // namespace wrenlow
