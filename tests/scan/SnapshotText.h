#pragma once

// The snapshot written out as the plain lines the hand-written expectations of the scan tests use.
#include "scan/InventoryModel.h"

#include <QStringList>

namespace wrenlow::test {

inline QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// "<state> <label> = "<value>"" for each row, then the message when there is one.
inline QStringList sectionLines(const InventorySection &section)
{
    QStringList lines;
    for (const InventoryValue &row : section.values)
        lines << rawValue(row.state) + u' ' + row.label + " = " + quoted(row.value);
    if (section.message)
        lines << "message: " + quoted(*section.message);
    return lines;
}

inline QStringList snapshotLines(const InventorySnapshot &snapshot)
{
    QStringList lines{"model: " + quoted(snapshot.model), "serial: " + quoted(snapshot.serial),
                      "architecture: " + quoted(snapshot.architecture), "osVersion: " + quoted(snapshot.osVersion)};
    for (const InventorySection &section : snapshot.sections) {
        lines << QStringList{"section " + section.key, section.title, section.symbol}.join(" | ");
        lines << sectionLines(section);
    }
    for (const DiagnosticItem &item : snapshot.diagnostics) {
        lines << QStringList{"diagnostic " + item.id, item.title, item.symbol, rawValue(item.state)}.join(" | ");
        lines << "detail: " + quoted(item.detail);
        if (!item.devices.isEmpty()) {
            QStringList devices;
            for (const QString &device : item.devices)
                devices << quoted(device);
            lines << "devices: " + devices.join(", ");
        }
    }
    return lines;
}

} // namespace wrenlow::test
