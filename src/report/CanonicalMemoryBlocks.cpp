// The memory and storage blocks of the canonical report.
#include "report/MacCanonicalInventoryBuilder.h"

#include "scan/InventoryModel.h"

#include <QJsonArray>

#include <cmath>

namespace wrenlow {

namespace {

bool isModuleSizeRow(const InventoryValue &row)
{
    // Each module's speed, manufacturer and part rows share its label prefix; only its size row counts.
    return row.label.startsWith(u"Module ") && !row.label.contains(u"speed") && !row.label.contains(u"manufacturer") &&
           !row.label.contains(u"part");
}

} // namespace

// Only the architecture tells how memory and disks are mounted: soldered on Apple silicon, unknown elsewhere.
QString MacCanonicalInventoryBuilder::installType(const InventorySnapshot &snapshot)
{
    return isAppleSilicon(snapshot) ? QStringLiteral("integrated_soldered") : QStringLiteral("unknown");
}

QJsonObject MacCanonicalInventoryBuilder::buildMemory(const InventorySnapshot &snapshot)
{
    const InventorySection memory = section(snapshot, QStringLiteral("memory"));
    const auto total = firstNumber(value(memory, QStringLiteral("Installed")));
    if (!total)
        return unknown();

    QJsonObject block{{QStringLiteral("state"), QStringLiteral("known")}, {QStringLiteral("total_gb"), *total}};
    if (isAppleSilicon(snapshot)) {
        block.insert(QStringLiteral("architecture"), QStringLiteral("unified_memory"));
        block.insert(QStringLiteral("modules"),
                     QJsonArray{QJsonObject{{QStringLiteral("slot"), QStringLiteral("Unified Memory")},
                                            {QStringLiteral("size_gb"), *total},
                                            {QStringLiteral("install_type"), installType(snapshot)}}});
        return block;
    }

    QJsonArray modules;
    for (const InventoryValue &row : memory.values) {
        if (!isModuleSizeRow(row))
            continue;
        if (const auto size = firstNumber(row.value))
            modules.append(QJsonObject{{QStringLiteral("slot"), row.label},
                                       {QStringLiteral("size_gb"), *size},
                                       {QStringLiteral("install_type"), installType(snapshot)}});
    }
    if (!modules.isEmpty()) {
        block.insert(QStringLiteral("slot_count"), modules.size());
        block.insert(QStringLiteral("modules"), modules);
    }
    return block;
}

QJsonObject MacCanonicalInventoryBuilder::buildStorage(const InventorySnapshot &snapshot)
{
    const InventorySection drives = section(snapshot, QStringLiteral("drives"));
    QJsonArray devices;
    for (const InventoryValue &row : drives.values) {
        if (!isDiskSummaryRow(row))
            continue;
        const QString detailPrefix = u"Disk " + row.label.split(u' ', Qt::SkipEmptyParts).constLast();
        const QStringList parts = barSeparatedParts(row.value);
        const QString sizePart = parts.value(0);

        QJsonObject device{{QStringLiteral("slot"), row.label},
                           {QStringLiteral("install_type"), installType(snapshot)}};
        if (const auto size = firstNumber(sizePart)) {
            const double gigabytes = sizePart.contains(u"TB", Qt::CaseInsensitive) ? *size * 1000 : *size;
            if (std::isfinite(gigabytes))
                device.insert(QStringLiteral("size_gb"), gigabytes);
        }
        device.insert(QStringLiteral("interface"), QStringLiteral("Internal"));
        if (parts.size() >= 2)
            put(device, QStringLiteral("model"), parts.at(1));
        put(device, QStringLiteral("serial"), value(drives, detailPrefix + u" serial"));
        put(device, QStringLiteral("health"), value(drives, detailPrefix + u" SMART"));
        put(device, QStringLiteral("firmware"), value(drives, detailPrefix + u" firmware"));

        const QString model = device.value(u"model").toString();
        if (model.contains(u"SSD", Qt::CaseInsensitive))
            device.insert(QStringLiteral("media_type"), QStringLiteral("SSD"));
        if (model.contains(u"APPLE SSD", Qt::CaseInsensitive))
            device.insert(QStringLiteral("storage_type"), QStringLiteral("Apple SSD"));
        devices.append(device);
    }
    if (devices.isEmpty())
        return unknown();
    return {{QStringLiteral("state"), QStringLiteral("known")}, {QStringLiteral("devices"), devices}};
}

} // namespace wrenlow
