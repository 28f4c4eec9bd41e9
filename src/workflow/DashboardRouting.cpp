#include "workflow/DashboardViewModel.h"

#include "common/TextRules.h"
#include "common/WrenlowError.h"
#include "sheets/MacUploadPayloadBuilder.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"
#include "workflow/StatusText.h"
#include "workflow/WorkflowServices.h"

#include <QFileInfo>

// Project routing, the duplicate check, the upload and the pending queue. Every outcome ends as a status text;
// nothing here throws.

namespace wrenlow {

namespace {

const QString amazonEmpId = QStringLiteral("AMZN");
const QString amazonProject = QStringLiteral("Incoming Amazon Returns");

// The duplicate check of both the standalone button and the upload. A reply that neither answers nor gives a
// reason is a failed check, not a clean one.
QCoro::Task<SheetsDuplicateResult> askForDuplicate(MacSheetsClient &client, QString empId, QString project,
                                                   QString serial, QString assetTag, QString fsnCode)
{
    SheetsDuplicateResult reply = co_await client.checkDuplicate(empId, project, serial, assetTag, fsnCode);
    if (!reply.ok)
        throw SheetsClientError::server(QStringLiteral("The Sheets service did not complete the duplicate check."));
    co_return reply;
}

// Why the service refused a row: its own words, else ours (never a blank status line).
QString refusalText(const SheetsUploadResult &result)
{
    return result.error.value_or(QStringLiteral("The Sheets service did not accept the upload."));
}

} // namespace

QString DashboardViewModel::uploadProject() const
{
    // Trimmed as the payload builder trims it, so the check looks where the row will be written.
    return isAmazon() ? amazonProject : m_selectedProject.trimmed();
}

UploadOperatorInput DashboardViewModel::uploadInput() const
{
    return UploadOperatorInput{
        .empId = m_empID,
        .projectId = isAmazon() ? amazonProject : m_selectedProject,
        .duplicateAction = m_duplicateAction,
        .assetTag = m_assetTag,
        .techName = m_technicianName,
        .fsnCode = m_fsnCode,
        .sent = m_sent,
        .trackingNumber = m_trackingNumber,
        .location = m_location,
        .palletNumber = m_palletNumber,
        .asinCode = m_asinCode,
        .description = m_itemDescription,
        .issue = m_issue,
        .workingOnIt = m_workingOnIt,
        .comments = m_comments,
        .unitPasses = unitResult() == u"UNIT PASSES" ? QStringLiteral("Yes") : QStringLiteral("No"),
    };
}

QCoro::Task<> DashboardViewModel::loadProjects()
{
    const QString empId = normalizedEmpId(m_empID);
    if (empId.isEmpty()) {
        setRoutingStatus(QStringLiteral("EMP ID is required."));
        co_return;
    }
    if (empId == amazonEmpId) {
        setProjectOptions({amazonProject});
        setSelectedProject(amazonProject);
        setRoutingEmployeeName(m_technicianName);
        setRoutingStatus(QStringLiteral("Amazon Returns routing selected."));
        co_return;
    }
    if (!m_sheetsConfigured) {
        setProjectOptions({});
        setSelectedProject(QString());
        setRoutingStatus(QStringLiteral("Sign in to Korvane to enable Sheets routing."));
        co_return;
    }

    setIsRoutingBusy(true);
    setRoutingStatus(QStringLiteral("Loading projects for ") + empId + u'…');
    std::optional<SheetsProjectList> reply;
    QString failure;
    try {
        reply = co_await m_services->sheets->listProjects(empId);
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (reply) {
        // The name goes into a field the technician edits and into the upload, so it must read as it shows.
        const QString employeeName = cleanOutsideLine(reply->employeeName);
        setProjectOptions(reply->projects);
        setRoutingEmployeeName(employeeName);
        if (m_technicianName.trimmed().isEmpty())
            setTechnicianName(employeeName);
        if (!m_projectOptions.contains(m_selectedProject))
            setSelectedProject(m_projectOptions.isEmpty() ? QString() : m_projectOptions.first());
        if (m_projectOptions.isEmpty()) {
            setRoutingStatus(QStringLiteral("No visible projects were returned for ") + empId + u'.');
        } else {
            const QString name = employeeName.isEmpty() ? empId : employeeName;
            setRoutingStatus(QStringLiteral("Loaded ") +
                             status::counted(m_projectOptions.size(), QStringLiteral("project")) +
                             QStringLiteral(" for ") + name + u'.');
        }
    } else {
        setProjectOptions({});
        setSelectedProject(QString());
        setRoutingStatus(failure);
    }
    setIsRoutingBusy(false);
}

QCoro::Task<> DashboardViewModel::checkDuplicate()
{
    if (!m_snapshot) {
        setLastDuplicateMessage(QStringLiteral("Scan this Mac first."));
        co_return;
    }
    if (!routingReady()) {
        setLastDuplicateMessage(QStringLiteral("Complete EMP/project routing first."));
        co_return;
    }
    if (!m_sheetsConfigured) {
        setLastDuplicateMessage(QStringLiteral("Sign in to Korvane to use Sheets."));
        co_return;
    }

    setIsRoutingBusy(true);
    setLastDuplicateMessage(QStringLiteral("Checking for an existing unit…"));
    QString message;
    try {
        const SheetsDuplicateResult reply = co_await askForDuplicate(*m_services->sheets, m_empID, uploadProject(),
                                                                     m_snapshot->serial, m_assetTag, m_fsnCode);
        if (!reply.duplicate) {
            message = QStringLiteral("No duplicate found.");
        } else {
            const QStringList matches = reply.matchDescriptions();
            message = QStringLiteral("Duplicate found in ") + reply.sheetName +
                      status::rowPart(reply.parsedRowNumber()) +
                      (matches.isEmpty() ? QString() : QStringLiteral(" (") + matches.join(u", ") + u')') + u'.';
        }
    } catch (...) {
        message = QStringLiteral("Duplicate check failed: ") + status::describeCurrent();
    }
    setLastDuplicateMessage(message);
    setIsRoutingBusy(false);
}

QCoro::Task<> DashboardViewModel::uploadToSheets()
{
    if (!m_snapshot) {
        setRoutingStatus(QStringLiteral("Scan this Mac before upload."));
        co_return;
    }
    if (!canUpload()) {
        setRoutingStatus(QStringLiteral("Complete all applicable tests before upload."));
        co_return;
    }
    if (!routingReady()) {
        setRoutingStatus(QStringLiteral("Complete EMP/project routing before upload."));
        co_return;
    }
    if (!m_sheetsConfigured) {
        setRoutingStatus(QStringLiteral("Sign in to Korvane to enable Sheets upload."));
        co_return;
    }
    setIsRoutingBusy(true);
    try {
        co_await uploadSteps();
    } catch (...) {
        setRoutingStatus(status::describeCurrent());
    }
    finishRoutingRun();
}

QCoro::Task<> DashboardViewModel::uploadSteps()
{
    setRoutingStatus(QStringLiteral("Preparing Zel upload…"));
    QJsonObject payload;
    try {
        payload = MacUploadPayloadBuilder::build(*m_snapshot, uploadInput());
    } catch (...) {
        setRoutingStatus(status::describeCurrent());
        co_return;
    }

    setRoutingStatus(QStringLiteral("Checking duplicates…"));
    std::optional<SheetsDuplicateResult> duplicate;
    QString failure;
    try {
        duplicate = co_await askForDuplicate(*m_services->sheets, m_empID, uploadProject(), m_snapshot->serial,
                                             m_assetTag, m_fsnCode);
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!duplicate) {
        setRoutingStatus(failure);
        co_return;
    }
    if (duplicate->duplicate && m_duplicateAction == u"skip") {
        const QString skipped = QStringLiteral("Duplicate found in ") + duplicate->sheetName +
                                status::rowPart(duplicate->parsedRowNumber()) + QStringLiteral(". Upload skipped.");
        setRoutingStatus(skipped);
        setLastDuplicateMessage(skipped);
        co_return;
    }

    setRoutingStatus(QStringLiteral("Uploading to ") + (isAmazon() ? amazonProject : m_selectedProject) + u'…');
    std::optional<SheetsUploadResult> result;
    try {
        result = co_await m_services->sheets->upload(payload);
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!result) {
        try {
            m_services->pending.save(payload);
            setPendingCount(m_services->pending.count());
            setRoutingStatus(QStringLiteral("Network upload failed. Saved to pending queue: ") + failure);
        } catch (...) {
            setRoutingStatus(QStringLiteral("Network upload failed and could not be saved to the pending queue: ") +
                             status::describeCurrent());
        }
    } else if (result->ok) {
        setRoutingStatus(QStringLiteral("Upload complete: ") + result->sheetName +
                         status::rowPart(result->parsedRowNumber()) + u'.');
    } else {
        setRoutingStatus(refusalText(*result));
    }
}

QCoro::Task<> DashboardViewModel::retryPendingUploads()
{
    if (!m_sheetsConfigured) {
        setRoutingStatus(QStringLiteral("Sign in to Korvane to retry pending Sheets uploads."));
        co_return;
    }
    const QStringList files = m_services->pending.files();
    if (files.isEmpty()) {
        setRoutingStatus(QStringLiteral("Pending queue is empty."));
        co_return;
    }
    setIsRoutingBusy(true);
    try {
        co_await retrySteps(files);
    } catch (...) {
        setRoutingStatus(status::describeCurrent());
    }
    finishRoutingRun();
}

QCoro::Task<> DashboardViewModel::retrySteps(QStringList files)
{
    const PendingUploadStore &store = m_services->pending;
    setRoutingStatus(QStringLiteral("Retrying ") + status::counted(files.size(), QStringLiteral("pending upload")) +
                     u'…');

    qint64 uploaded = 0;
    QStringList setAside;
    std::optional<QString> pause;
    std::optional<QString> refusal;
    for (const QString &file : std::as_const(files)) {
        std::optional<QJsonObject> payload;
        try {
            payload = store.read(file);
        } catch (const UnusablePendingFile &) {
        } catch (const SheetsClientError &) {
            // JSON, but not an object: as unusable as a file that is not JSON.
        } catch (...) {
            // Cannot be opened or read just now: that may mend itself, so the file keeps its place.
            pause = status::describeCurrent();
        }
        if (pause)
            break;
        if (!payload) {
            // Its content will never become a payload: keep its bytes out of the way of the uploads behind it.
            try {
                store.setAside(file);
                setAside.append(QFileInfo(file).fileName());
                continue;
            } catch (...) {
                pause = status::describeCurrent();
                break;
            }
        }

        std::optional<SheetsUploadResult> result;
        try {
            result = co_await m_services->sheets->upload(*payload);
        } catch (...) {
            pause = status::describeCurrent();
        }
        if (pause)
            break;
        if (!result->ok) {
            refusal = refusalText(*result);
            break;
        }
        try {
            store.remove(file);
        } catch (...) {
            pause = status::describeCurrent();
            break;
        }
        ++uploaded;
    }

    QString text;
    if (pause) {
        text = QStringLiteral("Retried ") + QString::number(uploaded) + QStringLiteral(". Remaining queue paused: ") +
               *pause;
    } else {
        text = QStringLiteral("Retried pending queue: ") + QString::number(uploaded) + QStringLiteral(" uploaded, ") +
               QString::number(store.count()) + QStringLiteral(" remaining.");
    }
    if (refusal)
        text += u' ' + *refusal;
    if (!setAside.isEmpty())
        text += QStringLiteral(" Set aside ") + status::counted(setAside.size(), QStringLiteral("unreadable file")) +
                QStringLiteral(": ") + setAside.join(u", ") + u'.';
    setRoutingStatus(text);
}

void DashboardViewModel::finishRoutingRun()
{
    setIsRoutingBusy(false);
    setPendingCount(m_services->pending.count());
}

} // namespace wrenlow
