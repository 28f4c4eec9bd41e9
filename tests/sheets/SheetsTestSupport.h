#pragma once

// Small builders shared by the Sheets suites: hand-made sections and the process time zone.
#include "scan/InventoryModel.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <ctime>

namespace sheetsTest {

// Label and text of each row, in order.
using Rows = QList<QPair<QString, QString>>;

inline wrenlow::InventorySection sectionOf(const QString &key, const Rows &rows)
{
    QList<wrenlow::InventoryValue> values;
    for (const auto &[label, text] : rows)
        values.append(wrenlow::InventoryValue(label, text));
    return wrenlow::InventorySection(key, key, "symbol", values, std::nullopt);
}

// Local time follows TZ; POSIX zone texts such as "JST-9" need no zone database.
inline void setTimeZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace sheetsTest
