#pragma once

#include "audio/AudioDiagnosticService.h"
#include "common/CommandRunner.h"
#include "scan/MacInventoryService.h"
#include "sheets/MacSheetsClient.h"
#include "sheets/PendingUploadStore.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace wrenlow {

class MacKorvaneApiClient;
struct InventorySnapshot;

// Everything the view model works through, handed in whole at construction and owned by the model from then on.
// The product uses `production()`; tests and the developer tool replace single members.
struct WorkflowServices
{
    // Runs one command line with a time limit; called on a worker thread, so it must not touch the model.
    using CommandRun = std::function<CommandRunner::Result(const QString &command, double timeout)>;
    // Writes the local report files of a snapshot and its verdict; throws WrenlowError.
    using ReportSave = std::function<void(const InventorySnapshot &snapshot, const QString &unitResult)>;

    WorkflowServices();
    WorkflowServices(WorkflowServices &&) noexcept;
    WorkflowServices &operator=(WorkflowServices &&) noexcept;
    ~WorkflowServices();

    MacInventoryService inventory;
    AudioDiagnosticService audio;
    CommandRun runCommand;
    std::unique_ptr<MacSheetsClient> sheets;
    PendingUploadStore pending;
    std::unique_ptr<MacKorvaneApiClient> korvane;
    ReportSave saveReport;

    // The product's services against this gateway; `sheetsSleeper` replaces the upload's back-off waits.
    static WorkflowServices production(const QUrl &gatewayBase = gatewayBaseUrl(),
                                       MacSheetsClient::Sleeper sheetsSleeper = MacSheetsClient::defaultSleeper());
};

} // namespace wrenlow
