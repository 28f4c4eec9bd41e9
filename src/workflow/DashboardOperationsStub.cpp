#include "workflow/DashboardViewModel.h"

#include "sheets/UploadOperatorInput.h"

namespace wrenlow {

qint64 DashboardViewModel::totalTests() const
{
    return 0;
}
qint64 DashboardViewModel::completedTests() const
{
    return 0;
}
bool DashboardViewModel::canUpload() const
{
    return false;
}
QString DashboardViewModel::unitResult() const
{
    return QStringLiteral("TESTING INCOMPLETE");
}
bool DashboardViewModel::isAmazon() const
{
    return false;
}
bool DashboardViewModel::routingReady() const
{
    return false;
}
bool DashboardViewModel::korvaneResolveReady() const
{
    return false;
}

QCoro::Task<> DashboardViewModel::scan()
{
    co_return;
}
std::optional<DiagnosticItem> DashboardViewModel::diagnostic(const QString &) const
{
    return std::nullopt;
}
QCoro::Task<> DashboardViewModel::runDiagnosticAction(QString)
{
    co_return;
}
void DashboardViewModel::markDiagnostic(const QString &, DiagnosticState) {}
QCoro::Task<> DashboardViewModel::loadProjects()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::checkDuplicate()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::uploadToSheets()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::retryPendingUploads()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::loginToKorvane()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::logoutFromKorvane()
{
    co_return;
}
QCoro::Task<> DashboardViewModel::resolveInKorvane()
{
    co_return;
}
void DashboardViewModel::updateDiagnostic(const QString &, DiagnosticState, const QString &, bool) {}
void DashboardViewModel::persistReport() {}

} // namespace wrenlow
