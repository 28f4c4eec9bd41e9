#pragma once

#include "scan/InventoryModel.h"

#include <QJsonObject>

// The memory and internal storage cards, read from the system profile.
namespace wrenlow::builders {

// Installed memory from the hardware record, then each module the profile lists.
InventorySection memorySection(const QJsonObject &profile, const QJsonObject &hardware);

// The internal physical disks of the NVMe and Serial ATA reports, each listed once.
InventorySection drivesSection(const QJsonObject &profile);

} // namespace wrenlow::builders
