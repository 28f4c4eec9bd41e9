#pragma once

#include <QJsonObject>
#include <QString>

namespace wrenlow {

struct InventorySnapshot;
struct UploadOperatorInput;

// Turns one scan and the technician's routing input into the sheet-row upload payload: four prepared sheet rows
// plus a structured description of the Mac. Keeps no state, does no I/O.
class MacUploadPayloadBuilder
{
public:
    MacUploadPayloadBuilder() = delete;

    // The schema id the gateway reads from "clientSchema".
    static QString sheetSchema();

    // Throws SheetsClientError::server with a message for the technician when the input is not enough to route
    // the upload; a refused build leaves nothing behind.
    static QJsonObject build(const InventorySnapshot &snapshot, const UploadOperatorInput &input);
};

} // namespace wrenlow
