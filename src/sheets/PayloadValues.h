#pragma once

#include "scan/InventoryModel.h"

#include <QDateTime>
#include <QJsonArray>
#include <QString>

#include <optional>

// The payload builder's own text shapers. Rows are read with InventorySection::reportedValue, which blanks only
// "Not reported" (the canonical report blanks "Cannot calculate" as well).
namespace wrenlow::payload {

// The text itself, or nothing when it is empty; blanks count as text.
std::optional<QString> nonEmpty(const QString &text);

// Every ASCII space removed ("512 GB" becomes "512GB"); other white space stays.
QString compactCapacity(const QString &text);

// Every "%" removed, then trimmed.
QString percentage(const QString &text);

// The compacted sizes of the storage rows, joined with " / ".
QString storageSummary(const InventorySection &section);

// One {"size", "connection", "model"} object per storage row.
QJsonArray driveRows(const InventorySection &section);

// One {"name", "role", "source"} object per graphics processor row; core counts and displays are skipped.
QJsonArray graphicsRows(const InventorySection &section);

// The local calendar date of `moment` as MM/dd/yyyy, in the process's current time zone.
QString wrenlowDate(const QDateTime &moment);

// "wzel-" and the SHA-256 of "wrenlow-zel|<collectedAt>|<empId>|<project>|<serial>" in lower-case hex.
QString makeReportID(const InventorySnapshot &snapshot, const QString &empId, const QString &project,
                     const QString &serial);

} // namespace wrenlow::payload
