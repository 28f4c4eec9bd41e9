#pragma once

#include "backend/KorvaneRecords.h"
#include "scan/InventoryModel.h"
#include "workflow/AppPage.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace wrenlow {

struct WorkflowServices;
struct UploadOperatorInput;

// The one controller behind every page: all workflow state as published fields, and every operation of the
// workflow (scan, device tests and marks, project routing, upload and its queue, sign-in, resolve). It belongs to
// the main thread; its operations never throw, their outcome is in the fields.
//
// Every assignment of a field, also of an unchanged value, stores it and then emits the field's own signal and
// `changed(field)`, once each. Derived values are computed on every read and never announced.
class DashboardViewModel final : public QObject
{
    Q_OBJECT
    // The published fields, in this order; `Field` follows it.
    Q_PROPERTY(wrenlow::AppPage selectedPage READ selectedPage WRITE setSelectedPage NOTIFY selectedPageChanged)
    Q_PROPERTY(
        std::optional<wrenlow::InventorySnapshot> snapshot READ snapshot WRITE setSnapshot NOTIFY snapshotChanged)
    Q_PROPERTY(bool isScanning READ isScanning WRITE setIsScanning NOTIFY isScanningChanged)
    Q_PROPERTY(QString statusText READ statusText WRITE setStatusText NOTIFY statusTextChanged)
    Q_PROPERTY(bool scanPulse READ scanPulse WRITE setScanPulse NOTIFY scanPulseChanged)
    Q_PROPERTY(QString empID READ empID WRITE setEmpID NOTIFY empIDChanged)
    Q_PROPERTY(QString selectedProject READ selectedProject WRITE setSelectedProject NOTIFY selectedProjectChanged)
    Q_PROPERTY(QStringList projectOptions READ projectOptions WRITE setProjectOptions NOTIFY projectOptionsChanged)
    Q_PROPERTY(QString assetTag READ assetTag WRITE setAssetTag NOTIFY assetTagChanged)
    Q_PROPERTY(QString technicianName READ technicianName WRITE setTechnicianName NOTIFY technicianNameChanged)
    Q_PROPERTY(QString comments READ comments WRITE setComments NOTIFY commentsChanged)
    Q_PROPERTY(QString duplicateAction READ duplicateAction WRITE setDuplicateAction NOTIFY duplicateActionChanged)
    Q_PROPERTY(QString sent READ sent WRITE setSent NOTIFY sentChanged)
    Q_PROPERTY(QString trackingNumber READ trackingNumber WRITE setTrackingNumber NOTIFY trackingNumberChanged)
    Q_PROPERTY(QString location READ location WRITE setLocation NOTIFY locationChanged)
    Q_PROPERTY(QString palletNumber READ palletNumber WRITE setPalletNumber NOTIFY palletNumberChanged)
    Q_PROPERTY(QString fsnCode READ fsnCode WRITE setFsnCode NOTIFY fsnCodeChanged)
    Q_PROPERTY(QString asinCode READ asinCode WRITE setAsinCode NOTIFY asinCodeChanged)
    Q_PROPERTY(QString itemDescription READ itemDescription WRITE setItemDescription NOTIFY itemDescriptionChanged)
    Q_PROPERTY(QString issue READ issue WRITE setIssue NOTIFY issueChanged)
    Q_PROPERTY(QString workingOnIt READ workingOnIt WRITE setWorkingOnIt NOTIFY workingOnItChanged)
    Q_PROPERTY(QString routingStatus READ routingStatus WRITE setRoutingStatus NOTIFY routingStatusChanged)
    Q_PROPERTY(QString routingEmployeeName READ routingEmployeeName WRITE setRoutingEmployeeName NOTIFY
                   routingEmployeeNameChanged)
    Q_PROPERTY(bool isRoutingBusy READ isRoutingBusy WRITE setIsRoutingBusy NOTIFY isRoutingBusyChanged)
    Q_PROPERTY(bool sheetsConfigured READ sheetsConfigured WRITE setSheetsConfigured NOTIFY sheetsConfiguredChanged)
    Q_PROPERTY(qint64 pendingCount READ pendingCount WRITE setPendingCount NOTIFY pendingCountChanged)
    Q_PROPERTY(QString lastDuplicateMessage READ lastDuplicateMessage WRITE setLastDuplicateMessage NOTIFY
                   lastDuplicateMessageChanged)
    Q_PROPERTY(
        QString korvaneIdentifier READ korvaneIdentifier WRITE setKorvaneIdentifier NOTIFY korvaneIdentifierChanged)
    Q_PROPERTY(
        QString korvaneCredential READ korvaneCredential WRITE setKorvaneCredential NOTIFY korvaneCredentialChanged)
    Q_PROPERTY(bool korvaneUsePin READ korvaneUsePin WRITE setKorvaneUsePin NOTIFY korvaneUsePinChanged)
    Q_PROPERTY(bool korvaneConfigured READ korvaneConfigured WRITE setKorvaneConfigured NOTIFY korvaneConfiguredChanged)
    Q_PROPERTY(bool korvaneSignedIn READ korvaneSignedIn WRITE setKorvaneSignedIn NOTIFY korvaneSignedInChanged)
    Q_PROPERTY(QString korvaneUserName READ korvaneUserName WRITE setKorvaneUserName NOTIFY korvaneUserNameChanged)
    Q_PROPERTY(QString korvaneStatus READ korvaneStatus WRITE setKorvaneStatus NOTIFY korvaneStatusChanged)
    Q_PROPERTY(QList<wrenlow::KorvaneLot> korvaneLots READ korvaneLots WRITE setKorvaneLots NOTIFY korvaneLotsChanged)
    Q_PROPERTY(QList<wrenlow::KorvaneUnitCategory> korvaneCategories READ korvaneCategories WRITE setKorvaneCategories
                   NOTIFY korvaneCategoriesChanged)
    Q_PROPERTY(std::optional<qint64> selectedKorvaneLotId READ selectedKorvaneLotId WRITE setSelectedKorvaneLotId NOTIFY
                   selectedKorvaneLotIdChanged)
    Q_PROPERTY(std::optional<qint64> selectedKorvaneCategoryId READ selectedKorvaneCategoryId WRITE
                   setSelectedKorvaneCategoryId NOTIFY selectedKorvaneCategoryIdChanged)
    Q_PROPERTY(QString korvaneResolveSummary READ korvaneResolveSummary WRITE setKorvaneResolveSummary NOTIFY
                   korvaneResolveSummaryChanged)
    Q_PROPERTY(std::optional<qint64> korvaneResolvedUnitId READ korvaneResolvedUnitId WRITE setKorvaneResolvedUnitId
                   NOTIFY korvaneResolvedUnitIdChanged)
    Q_PROPERTY(bool korvaneRequiresReview READ korvaneRequiresReview WRITE setKorvaneRequiresReview NOTIFY
                   korvaneRequiresReviewChanged)
    Q_PROPERTY(bool isKorvaneBusy READ isKorvaneBusy WRITE setIsKorvaneBusy NOTIFY isKorvaneBusyChanged)

public:
    // Which field an assignment stored; same order and names as the properties above.
    enum class Field {
        selectedPage,
        snapshot,
        isScanning,
        statusText,
        scanPulse,
        empID,
        selectedProject,
        projectOptions,
        assetTag,
        technicianName,
        comments,
        duplicateAction,
        sent,
        trackingNumber,
        location,
        palletNumber,
        fsnCode,
        asinCode,
        itemDescription,
        issue,
        workingOnIt,
        routingStatus,
        routingEmployeeName,
        isRoutingBusy,
        sheetsConfigured,
        pendingCount,
        lastDuplicateMessage,
        korvaneIdentifier,
        korvaneCredential,
        korvaneUsePin,
        korvaneConfigured,
        korvaneSignedIn,
        korvaneUserName,
        korvaneStatus,
        korvaneLots,
        korvaneCategories,
        selectedKorvaneLotId,
        selectedKorvaneCategoryId,
        korvaneResolveSummary,
        korvaneResolvedUnitId,
        korvaneRequiresReview,
        isKorvaneBusy,
    };
    Q_ENUM(Field)
    static constexpr int fieldCount = 42;

    // The field's name as the pages and the developer tool spell it ("empID"), read from the property table.
    static QString fieldName(Field field);
    // The field of that name, or nothing.
    static std::optional<Field> fieldFromName(const QString &name);

    // The product's services (scan tools, the audio engine, the configured gateway, the user's queue and reports).
    explicit DashboardViewModel(QObject *parent = nullptr);
    // Works through the given services instead; the model owns them from now on.
    explicit DashboardViewModel(WorkflowServices services, QObject *parent = nullptr);
    ~DashboardViewModel() override;

    // Field access.
    AppPage selectedPage() const { return m_selectedPage; }
    const std::optional<InventorySnapshot> &snapshot() const { return m_snapshot; }
    bool isScanning() const { return m_isScanning; }
    const QString &statusText() const { return m_statusText; }
    bool scanPulse() const { return m_scanPulse; }
    const QString &empID() const { return m_empID; }
    const QString &selectedProject() const { return m_selectedProject; }
    const QStringList &projectOptions() const { return m_projectOptions; }
    const QString &assetTag() const { return m_assetTag; }
    const QString &technicianName() const { return m_technicianName; }
    const QString &comments() const { return m_comments; }
    const QString &duplicateAction() const { return m_duplicateAction; }
    const QString &sent() const { return m_sent; }
    const QString &trackingNumber() const { return m_trackingNumber; }
    const QString &location() const { return m_location; }
    const QString &palletNumber() const { return m_palletNumber; }
    const QString &fsnCode() const { return m_fsnCode; }
    const QString &asinCode() const { return m_asinCode; }
    const QString &itemDescription() const { return m_itemDescription; }
    const QString &issue() const { return m_issue; }
    const QString &workingOnIt() const { return m_workingOnIt; }
    const QString &routingStatus() const { return m_routingStatus; }
    const QString &routingEmployeeName() const { return m_routingEmployeeName; }
    bool isRoutingBusy() const { return m_isRoutingBusy; }
    bool sheetsConfigured() const { return m_sheetsConfigured; }
    qint64 pendingCount() const { return m_pendingCount; }
    const QString &lastDuplicateMessage() const { return m_lastDuplicateMessage; }
    const QString &korvaneIdentifier() const { return m_korvaneIdentifier; }
    const QString &korvaneCredential() const { return m_korvaneCredential; }
    bool korvaneUsePin() const { return m_korvaneUsePin; }
    bool korvaneConfigured() const { return m_korvaneConfigured; }
    bool korvaneSignedIn() const { return m_korvaneSignedIn; }
    const QString &korvaneUserName() const { return m_korvaneUserName; }
    const QString &korvaneStatus() const { return m_korvaneStatus; }
    const QList<KorvaneLot> &korvaneLots() const { return m_korvaneLots; }
    const QList<KorvaneUnitCategory> &korvaneCategories() const { return m_korvaneCategories; }
    std::optional<qint64> selectedKorvaneLotId() const { return m_selectedKorvaneLotId; }
    std::optional<qint64> selectedKorvaneCategoryId() const { return m_selectedKorvaneCategoryId; }
    const QString &korvaneResolveSummary() const { return m_korvaneResolveSummary; }
    std::optional<qint64> korvaneResolvedUnitId() const { return m_korvaneResolvedUnitId; }
    bool korvaneRequiresReview() const { return m_korvaneRequiresReview; }
    bool isKorvaneBusy() const { return m_isKorvaneBusy; }

    void setSelectedPage(AppPage value);
    void setSnapshot(std::optional<InventorySnapshot> value);
    void setIsScanning(bool value);
    void setStatusText(QString value);
    void setScanPulse(bool value);
    void setEmpID(QString value);
    void setSelectedProject(QString value);
    void setProjectOptions(QStringList value);
    void setAssetTag(QString value);
    void setTechnicianName(QString value);
    void setComments(QString value);
    void setDuplicateAction(QString value);
    void setSent(QString value);
    void setTrackingNumber(QString value);
    void setLocation(QString value);
    void setPalletNumber(QString value);
    void setFsnCode(QString value);
    void setAsinCode(QString value);
    void setItemDescription(QString value);
    void setIssue(QString value);
    void setWorkingOnIt(QString value);
    void setRoutingStatus(QString value);
    void setRoutingEmployeeName(QString value);
    void setIsRoutingBusy(bool value);
    void setSheetsConfigured(bool value);
    void setPendingCount(qint64 value);
    void setLastDuplicateMessage(QString value);
    void setKorvaneIdentifier(QString value);
    void setKorvaneCredential(QString value);
    void setKorvaneUsePin(bool value);
    void setKorvaneConfigured(bool value);
    void setKorvaneSignedIn(bool value);
    void setKorvaneUserName(QString value);
    void setKorvaneStatus(QString value);
    void setKorvaneLots(QList<KorvaneLot> value);
    void setKorvaneCategories(QList<KorvaneUnitCategory> value);
    void setSelectedKorvaneLotId(std::optional<qint64> value);
    void setSelectedKorvaneCategoryId(std::optional<qint64> value);
    void setKorvaneResolveSummary(QString value);
    void setKorvaneResolvedUnitId(std::optional<qint64> value);
    void setKorvaneRequiresReview(bool value);
    void setIsKorvaneBusy(bool value);

    // Derived values, computed from the fields on every read.
    qint64 totalTests() const;
    qint64 completedTests() const;
    bool canUpload() const;
    QString unitResult() const;
    bool isAmazon() const;
    bool routingReady() const;
    bool korvaneResolveReady() const;
    // Whether the resolve summary is shown with the review symbol: the answer asks for review, or the summary says
    // the resolve did not happen.
    bool korvaneSummaryNeedsReview() const { return m_korvaneRequiresReview || m_korvaneResolveFailed; }

    // Scan and local report. A scan asked for while one runs is dropped.
    QCoro::Task<> scan();
    // The first diagnostic of the current snapshot with exactly this id.
    std::optional<DiagnosticItem> diagnostic(const QString &id) const;

    // Device tests ("sound", "camera", "microphone"; any other id does nothing) and technician marks.
    QCoro::Task<> runDiagnosticAction(QString id);
    void markDiagnostic(const QString &id, DiagnosticState state);

    // Project routing and the duplicate check.
    QCoro::Task<> loadProjects();
    QCoro::Task<> checkDuplicate();

    // The upload and the pending queue.
    QCoro::Task<> uploadToSheets();
    QCoro::Task<> retryPendingUploads();

    // The Korvane session and the unit resolve.
    QCoro::Task<> loginToKorvane();
    QCoro::Task<> logoutFromKorvane();
    QCoro::Task<> resolveInKorvane();

signals:
    // After every assignment of a field, following the field's own signal.
    void changed(wrenlow::DashboardViewModel::Field field);

    void selectedPageChanged();
    void snapshotChanged();
    void isScanningChanged();
    void statusTextChanged();
    void scanPulseChanged();
    void empIDChanged();
    void selectedProjectChanged();
    void projectOptionsChanged();
    void assetTagChanged();
    void technicianNameChanged();
    void commentsChanged();
    void duplicateActionChanged();
    void sentChanged();
    void trackingNumberChanged();
    void locationChanged();
    void palletNumberChanged();
    void fsnCodeChanged();
    void asinCodeChanged();
    void itemDescriptionChanged();
    void issueChanged();
    void workingOnItChanged();
    void routingStatusChanged();
    void routingEmployeeNameChanged();
    void isRoutingBusyChanged();
    void sheetsConfiguredChanged();
    void pendingCountChanged();
    void lastDuplicateMessageChanged();
    void korvaneIdentifierChanged();
    void korvaneCredentialChanged();
    void korvaneUsePinChanged();
    void korvaneConfiguredChanged();
    void korvaneSignedInChanged();
    void korvaneUserNameChanged();
    void korvaneStatusChanged();
    void korvaneLotsChanged();
    void korvaneCategoriesChanged();
    void selectedKorvaneLotIdChanged();
    void selectedKorvaneCategoryIdChanged();
    void korvaneResolveSummaryChanged();
    void korvaneResolvedUnitIdChanged();
    void korvaneRequiresReviewChanged();
    void isKorvaneBusyChanged();

private:
    template <typename T, typename V>
    void assign(T &member, V &&value, Field field, void (DashboardViewModel::*signal)());

    void updateDiagnostic(const QString &id, DiagnosticState state, const QString &detail, bool persist = true);
    void persistReport();

    UploadOperatorInput uploadInput() const;
    // The project an upload writes to, as the payload will carry it.
    QString uploadProject() const;
    QCoro::Task<> uploadSteps();
    QCoro::Task<> retrySteps(QStringList files);
    // The closing step of every upload or retry that got past its guards.
    void finishRoutingRun();

    QCoro::Task<> signInSteps(QString identifier);
    void resetSignIn(const QString &reason);
    QCoro::Task<> resolveSteps();
    void showResolveSummary(const QString &text, bool failed);

    AppPage m_selectedPage = AppPage::Overview;
    std::optional<InventorySnapshot> m_snapshot;
    bool m_isScanning = false;
    QString m_statusText;
    bool m_scanPulse = false;
    QString m_empID;
    QString m_selectedProject;
    QStringList m_projectOptions;
    QString m_assetTag;
    QString m_technicianName;
    QString m_comments;
    QString m_duplicateAction;
    QString m_sent;
    QString m_trackingNumber;
    QString m_location;
    QString m_palletNumber;
    QString m_fsnCode;
    QString m_asinCode;
    QString m_itemDescription;
    QString m_issue;
    QString m_workingOnIt;
    QString m_routingStatus;
    QString m_routingEmployeeName;
    bool m_isRoutingBusy = false;
    bool m_sheetsConfigured = false;
    qint64 m_pendingCount = 0;
    QString m_lastDuplicateMessage;
    QString m_korvaneIdentifier;
    QString m_korvaneCredential;
    bool m_korvaneUsePin = false;
    bool m_korvaneConfigured = true;
    bool m_korvaneSignedIn = false;
    QString m_korvaneUserName;
    QString m_korvaneStatus;
    QList<KorvaneLot> m_korvaneLots;
    QList<KorvaneUnitCategory> m_korvaneCategories;
    std::optional<qint64> m_selectedKorvaneLotId;
    std::optional<qint64> m_selectedKorvaneCategoryId;
    QString m_korvaneResolveSummary;
    std::optional<qint64> m_korvaneResolvedUnitId;
    bool m_korvaneRequiresReview = false;
    bool m_isKorvaneBusy = false;

    std::unique_ptr<WorkflowServices> m_services;
    // The resolve summary reports a resolve that was refused or failed.
    bool m_korvaneResolveFailed = false;
    // Set from the first step of a sign-in (the health probe, before the busy flag) to its end.
    bool m_signInRunning = false;
};

} // namespace wrenlow
