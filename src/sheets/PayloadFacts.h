#pragma once

#include "sheets/SheetVerdicts.h"

#include <QString>

namespace wrenlow {

struct UploadOperatorInput;

// The values an upload derives once from the snapshot and the technician's input; the prepared sheet rows and
// the payload's structured members both read them, so the two views of the unit always agree.
struct PayloadFacts
{
    QString normalizedEmpId;
    bool isAmazon = false;
    QString routingProject;
    QString serial;
    QString make;
    QString model;
    QString cpu;
    QString ram;
    QString storage;
    QString batteryPercent;
    QString macosVersion;
    QString macosBuild;
    QString architecture;
    QString firmwareVersion;
    QString fileVault;
    QString sip;
    QString gatekeeper;
    QString operatingSystemText;
    QString chassisText;
    QString sheetDate;
    QString reportId;
    QString combinedComments;
    QString amazonDescription;
    bool allowDuplicate = false;
    SheetVerdicts verdicts;

    // Throws SheetsClientError::server with the first validation message that applies, in the order the
    // technician is expected to fix them: EMP ID, project, serial number, then the Amazon route's two fields.
    static PayloadFacts derive(const InventorySnapshot &snapshot, const UploadOperatorInput &input);
};

} // namespace wrenlow
