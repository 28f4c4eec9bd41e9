#include "workflow/DashboardViewModel.h"

#include "common/FixedDecimal.h"
#include "workflow/StatusText.h"
#include "workflow/WorkflowServices.h"

#include <QMetaProperty>

#include <algorithm>

namespace wrenlow {

static_assert(DashboardViewModel::fieldCount == int(DashboardViewModel::Field::isKorvaneBusy) + 1);

DashboardViewModel::DashboardViewModel(QObject *parent)
    : DashboardViewModel(WorkflowServices::production(), parent)
{}

DashboardViewModel::DashboardViewModel(WorkflowServices services, QObject *parent)
    : QObject(parent)
    , m_statusText(QStringLiteral("Ready"))
    , m_duplicateAction(QStringLiteral("skip"))
    , m_routingStatus(QStringLiteral("Enter an EMP ID to load projects."))
    , m_pendingCount(services.pending.count())
    , m_korvaneStatus(QStringLiteral("Korvane is not signed in."))
    , m_services(std::make_unique<WorkflowServices>(std::move(services)))
{}

DashboardViewModel::~DashboardViewModel() = default;

QString DashboardViewModel::fieldName(Field field)
{
    const QMetaObject &meta = staticMetaObject;
    return QString::fromLatin1(meta.property(meta.propertyOffset() + int(field)).name());
}

std::optional<DashboardViewModel::Field> DashboardViewModel::fieldFromName(const QString &name)
{
    for (int index = 0; index < fieldCount; ++index) {
        if (fieldName(Field(index)) == name)
            return Field(index);
    }
    return std::nullopt;
}

namespace {

QString trimmedText(const QString &text)
{
    return text.trimmed();
}

bool isApplicable(const DiagnosticItem &item)
{
    return item.state != DiagnosticState::NotApplicable;
}

} // namespace

qint64 DashboardViewModel::totalTests() const
{
    return m_snapshot ? m_snapshot->diagnostics.size() : 0;
}

qint64 DashboardViewModel::completedTests() const
{
    if (!m_snapshot)
        return 0;
    const auto &items = m_snapshot->diagnostics;
    return std::count_if(items.begin(), items.end(), [](const DiagnosticItem &item) { return isComplete(item.state); });
}

bool DashboardViewModel::canUpload() const
{
    if (!m_snapshot)
        return false;
    const auto &items = m_snapshot->diagnostics;
    if (std::none_of(items.begin(), items.end(), isApplicable))
        return false;
    return std::all_of(items.begin(), items.end(),
                       [](const DiagnosticItem &item) { return !isApplicable(item) || isComplete(item.state); });
}

QString DashboardViewModel::unitResult() const
{
    const QString incomplete = QStringLiteral("TESTING INCOMPLETE");
    if (!m_snapshot)
        return incomplete;
    bool needsReview = false;
    for (const DiagnosticItem &item : m_snapshot->diagnostics) {
        if (!isApplicable(item))
            continue;
        if (!isComplete(item.state))
            return incomplete;
        needsReview = needsReview || item.state == DiagnosticState::Fail || item.state == DiagnosticState::Review;
    }
    return needsReview ? QStringLiteral("REVIEW REQUIRED") : QStringLiteral("UNIT PASSES");
}

bool DashboardViewModel::isAmazon() const
{
    return trimmedText(m_empID).toUpper() == u"AMZN";
}

bool DashboardViewModel::routingReady() const
{
    if (trimmedText(m_empID).isEmpty())
        return false;
    if (isAmazon())
        return !trimmedText(m_technicianName).isEmpty() && !trimmedText(m_assetTag).isEmpty();
    return !trimmedText(m_selectedProject).isEmpty();
}

bool DashboardViewModel::korvaneResolveReady() const
{
    return m_korvaneSignedIn && m_selectedKorvaneLotId.has_value() && m_snapshot.has_value();
}

QCoro::Task<> DashboardViewModel::scan()
{
    // The check and the flag are set with no suspension between them, so two scans can never both start.
    if (m_isScanning)
        co_return;
    setIsScanning(true);
    setStatusText(QStringLiteral("Scanning this Mac"));
    setScanPulse(!m_scanPulse);

    std::optional<InventorySnapshot> result;
    QString failure;
    try {
        result = co_await m_services->inventory.scan();
    } catch (...) {
        failure = status::describeCurrent();
    }
    if (!result) {
        // The previous snapshot stays, and the Scan button is free again for another try.
        setIsScanning(false);
        setStatusText(QStringLiteral("Scan could not complete: ") + failure);
        co_return;
    }
    setSnapshot(std::move(result));
    setIsScanning(false);
    setStatusText(QStringLiteral("Scan complete in ") + fixedDecimal(m_snapshot->elapsedSeconds, 1) + u's');
    persistReport();
}

std::optional<DiagnosticItem> DashboardViewModel::diagnostic(const QString &id) const
{
    if (!m_snapshot)
        return std::nullopt;
    if (const DiagnosticItem *item = m_snapshot->findDiagnostic(id))
        return *item;
    return std::nullopt;
}

void DashboardViewModel::updateDiagnostic(const QString &id, DiagnosticState state, const QString &detail, bool persist)
{
    if (!m_snapshot || !m_snapshot->findDiagnostic(id))
        return;
    InventorySnapshot updated = *m_snapshot;
    DiagnosticItem *item = updated.findDiagnostic(id);
    item->state = state;
    item->detail = detail;
    setSnapshot(std::move(updated));
    if (persist)
        persistReport();
}

void DashboardViewModel::persistReport()
{
    if (!m_snapshot)
        return;
    try {
        m_services->saveReport(*m_snapshot, unitResult());
    } catch (...) {
        setStatusText(QStringLiteral("Report save warning: ") + status::describeCurrent());
    }
}

} // namespace wrenlow
