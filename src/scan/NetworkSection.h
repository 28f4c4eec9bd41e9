#pragma once

#include "scan/InventoryModel.h"

#include <QJsonObject>
#include <QString>

namespace wrenlow::builders {

// The physical network card: each Wi-Fi interface of the profile, then each wired Ethernet-type port that
// `hardwarePorts` (the output of the hardware-port listing) names.
InventorySection networkSection(const QJsonObject &profile, const QString &hardwarePorts);

} // namespace wrenlow::builders
