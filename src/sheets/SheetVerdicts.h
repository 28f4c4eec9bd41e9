#pragma once

#include "scan/InventoryModel.h"

#include <QString>

namespace wrenlow {

// What the sheets say about the unit's diagnostics. Only diagnostics that apply (not "N/A") count, and the
// three verdict columns deliberately answer differently once nothing has failed and not everything passed.
struct SheetVerdicts
{
    bool allComplete = false;
    bool allPassed = false;
    bool anyFail = false;
    bool anyReview = false;
    bool hasWebcam = false;
    // The raw state of the "mac-security" diagnostic, or empty without one.
    QString securityState;

    static SheetVerdicts from(const InventorySnapshot &snapshot);

    // A sheet's Yes/No cell.
    static QString yesNo(bool flag);

    // "No", "Yes" or empty.
    QString passVerdict() const;
    // "No", "Yes", "Review" once everything applicable is complete, otherwise "No".
    QString checkVerdict() const;
    // "No", "Yes", "Review" when something is in review, otherwise empty.
    QString reviewVerdict() const;
};

} // namespace wrenlow
