#include "workflow/DashboardViewModel.h"

// The published fields' setters: each stores, then announces the field twice over (its own signal, then the
// model-wide one), on every assignment.

namespace wrenlow {

template <typename T, typename V>
void DashboardViewModel::assign(T &member, V &&value, Field field, void (DashboardViewModel::*signal)())
{
    member = std::forward<V>(value);
    emit(this->*signal)();
    emit changed(field);
}

void DashboardViewModel::setSelectedPage(AppPage value)
{
    assign(m_selectedPage, value, Field::selectedPage, &DashboardViewModel::selectedPageChanged);
}

void DashboardViewModel::setSnapshot(std::optional<InventorySnapshot> value)
{
    assign(m_snapshot, std::move(value), Field::snapshot, &DashboardViewModel::snapshotChanged);
}

void DashboardViewModel::setIsScanning(bool value)
{
    assign(m_isScanning, value, Field::isScanning, &DashboardViewModel::isScanningChanged);
}

void DashboardViewModel::setStatusText(QString value)
{
    assign(m_statusText, std::move(value), Field::statusText, &DashboardViewModel::statusTextChanged);
}

void DashboardViewModel::setScanPulse(bool value)
{
    assign(m_scanPulse, value, Field::scanPulse, &DashboardViewModel::scanPulseChanged);
}

void DashboardViewModel::setEmpID(QString value)
{
    assign(m_empID, std::move(value), Field::empID, &DashboardViewModel::empIDChanged);
}

void DashboardViewModel::setSelectedProject(QString value)
{
    assign(m_selectedProject, std::move(value), Field::selectedProject, &DashboardViewModel::selectedProjectChanged);
}

void DashboardViewModel::setProjectOptions(QStringList value)
{
    assign(m_projectOptions, std::move(value), Field::projectOptions, &DashboardViewModel::projectOptionsChanged);
}

void DashboardViewModel::setAssetTag(QString value)
{
    assign(m_assetTag, std::move(value), Field::assetTag, &DashboardViewModel::assetTagChanged);
}

void DashboardViewModel::setTechnicianName(QString value)
{
    assign(m_technicianName, std::move(value), Field::technicianName, &DashboardViewModel::technicianNameChanged);
}

void DashboardViewModel::setComments(QString value)
{
    assign(m_comments, std::move(value), Field::comments, &DashboardViewModel::commentsChanged);
}

void DashboardViewModel::setDuplicateAction(QString value)
{
    assign(m_duplicateAction, std::move(value), Field::duplicateAction, &DashboardViewModel::duplicateActionChanged);
}

void DashboardViewModel::setSent(QString value)
{
    assign(m_sent, std::move(value), Field::sent, &DashboardViewModel::sentChanged);
}

void DashboardViewModel::setTrackingNumber(QString value)
{
    assign(m_trackingNumber, std::move(value), Field::trackingNumber, &DashboardViewModel::trackingNumberChanged);
}

void DashboardViewModel::setLocation(QString value)
{
    assign(m_location, std::move(value), Field::location, &DashboardViewModel::locationChanged);
}

void DashboardViewModel::setPalletNumber(QString value)
{
    assign(m_palletNumber, std::move(value), Field::palletNumber, &DashboardViewModel::palletNumberChanged);
}

void DashboardViewModel::setFsnCode(QString value)
{
    assign(m_fsnCode, std::move(value), Field::fsnCode, &DashboardViewModel::fsnCodeChanged);
}

void DashboardViewModel::setAsinCode(QString value)
{
    assign(m_asinCode, std::move(value), Field::asinCode, &DashboardViewModel::asinCodeChanged);
}

void DashboardViewModel::setItemDescription(QString value)
{
    assign(m_itemDescription, std::move(value), Field::itemDescription, &DashboardViewModel::itemDescriptionChanged);
}

void DashboardViewModel::setIssue(QString value)
{
    assign(m_issue, std::move(value), Field::issue, &DashboardViewModel::issueChanged);
}

void DashboardViewModel::setWorkingOnIt(QString value)
{
    assign(m_workingOnIt, std::move(value), Field::workingOnIt, &DashboardViewModel::workingOnItChanged);
}

void DashboardViewModel::setRoutingStatus(QString value)
{
    assign(m_routingStatus, std::move(value), Field::routingStatus, &DashboardViewModel::routingStatusChanged);
}

void DashboardViewModel::setRoutingEmployeeName(QString value)
{
    assign(m_routingEmployeeName, std::move(value), Field::routingEmployeeName,
           &DashboardViewModel::routingEmployeeNameChanged);
}

void DashboardViewModel::setIsRoutingBusy(bool value)
{
    assign(m_isRoutingBusy, value, Field::isRoutingBusy, &DashboardViewModel::isRoutingBusyChanged);
}

void DashboardViewModel::setSheetsConfigured(bool value)
{
    assign(m_sheetsConfigured, value, Field::sheetsConfigured, &DashboardViewModel::sheetsConfiguredChanged);
}

void DashboardViewModel::setPendingCount(qint64 value)
{
    assign(m_pendingCount, value, Field::pendingCount, &DashboardViewModel::pendingCountChanged);
}

void DashboardViewModel::setLastDuplicateMessage(QString value)
{
    assign(m_lastDuplicateMessage, std::move(value), Field::lastDuplicateMessage,
           &DashboardViewModel::lastDuplicateMessageChanged);
}

void DashboardViewModel::setKorvaneIdentifier(QString value)
{
    assign(m_korvaneIdentifier, std::move(value), Field::korvaneIdentifier,
           &DashboardViewModel::korvaneIdentifierChanged);
}

void DashboardViewModel::setKorvaneCredential(QString value)
{
    assign(m_korvaneCredential, std::move(value), Field::korvaneCredential,
           &DashboardViewModel::korvaneCredentialChanged);
}

void DashboardViewModel::setKorvaneUsePin(bool value)
{
    assign(m_korvaneUsePin, value, Field::korvaneUsePin, &DashboardViewModel::korvaneUsePinChanged);
}

void DashboardViewModel::setKorvaneConfigured(bool value)
{
    assign(m_korvaneConfigured, value, Field::korvaneConfigured, &DashboardViewModel::korvaneConfiguredChanged);
}

void DashboardViewModel::setKorvaneSignedIn(bool value)
{
    assign(m_korvaneSignedIn, value, Field::korvaneSignedIn, &DashboardViewModel::korvaneSignedInChanged);
}

void DashboardViewModel::setKorvaneUserName(QString value)
{
    assign(m_korvaneUserName, std::move(value), Field::korvaneUserName, &DashboardViewModel::korvaneUserNameChanged);
}

void DashboardViewModel::setKorvaneStatus(QString value)
{
    assign(m_korvaneStatus, std::move(value), Field::korvaneStatus, &DashboardViewModel::korvaneStatusChanged);
}

void DashboardViewModel::setKorvaneLots(QList<KorvaneLot> value)
{
    assign(m_korvaneLots, std::move(value), Field::korvaneLots, &DashboardViewModel::korvaneLotsChanged);
}

void DashboardViewModel::setKorvaneCategories(QList<KorvaneUnitCategory> value)
{
    assign(m_korvaneCategories, std::move(value), Field::korvaneCategories,
           &DashboardViewModel::korvaneCategoriesChanged);
}

void DashboardViewModel::setSelectedKorvaneLotId(std::optional<qint64> value)
{
    assign(m_selectedKorvaneLotId, value, Field::selectedKorvaneLotId,
           &DashboardViewModel::selectedKorvaneLotIdChanged);
}

void DashboardViewModel::setSelectedKorvaneCategoryId(std::optional<qint64> value)
{
    assign(m_selectedKorvaneCategoryId, value, Field::selectedKorvaneCategoryId,
           &DashboardViewModel::selectedKorvaneCategoryIdChanged);
}

void DashboardViewModel::setKorvaneResolveSummary(QString value)
{
    assign(m_korvaneResolveSummary, std::move(value), Field::korvaneResolveSummary,
           &DashboardViewModel::korvaneResolveSummaryChanged);
}

void DashboardViewModel::setKorvaneResolvedUnitId(std::optional<qint64> value)
{
    assign(m_korvaneResolvedUnitId, value, Field::korvaneResolvedUnitId,
           &DashboardViewModel::korvaneResolvedUnitIdChanged);
}

void DashboardViewModel::setKorvaneRequiresReview(bool value)
{
    assign(m_korvaneRequiresReview, value, Field::korvaneRequiresReview,
           &DashboardViewModel::korvaneRequiresReviewChanged);
}

void DashboardViewModel::setIsKorvaneBusy(bool value)
{
    assign(m_isKorvaneBusy, value, Field::isKorvaneBusy, &DashboardViewModel::isKorvaneBusyChanged);
}

} // namespace wrenlow
