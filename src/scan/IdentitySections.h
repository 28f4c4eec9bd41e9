#pragma once

#include "scan/InventoryModel.h"

#include <QJsonObject>
#include <QString>

// The first three cards of a scan, read from the hardware record of the system profile.
namespace wrenlow::builders {

InventorySection identitySection(const QJsonObject &hardware, const QString &machineName,
                                 const QString &modelIdentifier, const QString &modelNumber, const QString &serial);

InventorySection firmwareSection(const QJsonObject &hardware);

// `architecture` is what "uname -m" printed, possibly empty.
InventorySection processorSection(const QJsonObject &hardware, const QString &architecture);

} // namespace wrenlow::builders
