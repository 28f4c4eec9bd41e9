#include "workflow/WorkflowServices.h"

#include "backend/MacKorvaneApiClient.h"
#include "report/ReportStore.h"

namespace wrenlow {

WorkflowServices::WorkflowServices() = default;
WorkflowServices::WorkflowServices(WorkflowServices &&) noexcept = default;
WorkflowServices &WorkflowServices::operator=(WorkflowServices &&) noexcept = default;
WorkflowServices::~WorkflowServices() = default;

WorkflowServices WorkflowServices::production(const QUrl &gatewayBase, MacSheetsClient::Sleeper sheetsSleeper)
{
    WorkflowServices services;
    services.runCommand = [](const QString &command, double timeout) { return CommandRunner::run(command, timeout); };
    services.sheets =
        std::make_unique<MacSheetsClient>(gatewayBase, MacSheetsClient::defaultHttpOptions(), std::move(sheetsSleeper));
    services.pending = PendingUploadStore::shared();
    services.korvane = std::make_unique<MacKorvaneApiClient>(gatewayBase);
    services.saveReport = [](const InventorySnapshot &snapshot, const QString &unitResult) {
        ReportStore::save(snapshot, unitResult);
    };
    return services;
}

} // namespace wrenlow
