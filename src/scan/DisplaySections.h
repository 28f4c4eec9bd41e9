#pragma once

#include "scan/InventoryModel.h"

#include <QJsonObject>
#include <QString>

// The graphics and displays card and the running system's card.
namespace wrenlow::builders {

// Each graphics processor with its core count, followed by the displays attached to it.
InventorySection graphicsSection(const QJsonObject &profile);

// The running system as the scan found it; `bootText` and `uptimeText` are the outputs of the boot-time
// and uptime commands.
InventorySection osSection(const QString &productVersion, const QString &buildVersion, const QString &architecture,
                           const QString &bootText, const QString &uptimeText);

} // namespace wrenlow::builders
