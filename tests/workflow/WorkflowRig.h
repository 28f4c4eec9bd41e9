#pragma once

// One view model wired to stand-ins: the stand-in gateway on loopback (the healthy scenario, with routes
// replaced per test), camera commands answered by a table, audio without a sound card, the pending queue and
// the report saves in a temporary folder.
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include "FakeMacEnvironment.h"
#include "GatewayStandIn.h"
#include "TaskWait.h"

#include "audio/SpeakerOutput.h"
#include "backend/MacKorvaneApiClient.h"
#include "common/WrenlowError.h"

#include <QCoroTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

namespace wrenlow::test {

using support::waitForTask;

using namespace std::chrono_literals;

inline QJsonObject jsonObject(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        qFatal("bad JSON in a test table: %s", json.constData());
    return document.object();
}

// A speaker that plays to the end at once, or refuses to start.
class InstantSpeaker : public SpeakerOutput
{
public:
    explicit InstantSpeaker(bool works)
        : m_works(works)
    {}
    void start(const QByteArray &, double) override
    {
        if (!m_works)
            throw PlatformError(QStringLiteral("No audio output."));
        QTimer::singleShot(0, this, [this] { emit ended(true); });
    }
    void stop() override {}

private:
    bool m_works;
};

// One scan of the stand-in MacBook, every applicable diagnostic still as the scan left it.
inline const InventorySnapshot &scannedSnapshot()
{
    static const InventorySnapshot snapshot = [] {
        const FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
        return waitForTask(MacInventoryService().scan());
    }();
    return snapshot;
}

// The same with every applicable diagnostic marked as passed, ready for upload.
inline InventorySnapshot testedSnapshot()
{
    InventorySnapshot snapshot = scannedSnapshot();
    for (DiagnosticItem &item : snapshot.diagnostics) {
        if (item.state != DiagnosticState::NotApplicable)
            item.state = DiagnosticState::Pass;
    }
    return snapshot;
}

struct WorkflowRig
{
    // `routes` replace the healthy scenario's routes of the same name.
    explicit WorkflowRig(const QJsonObject &routes = {}, bool speakerWorks = true)
    {
        QFile file(QStringLiteral(WRENLOW_WORKFLOW_SCENARIOS "/healthy.json"));
        file.open(QIODevice::ReadOnly);
        QJsonObject script = QJsonDocument::fromJson(file.readAll()).object();
        for (auto route = routes.begin(); route != routes.end(); ++route)
            script.insert(route.key(), route.value());
        gateway.setScenario(GatewayScenario(script));
        gateway.listen();

        WorkflowServices services;
        services.audio = AudioDiagnosticService(audioPlatform(speakerWorks));
        services.runCommand = [this](const QString &command, double timeout) {
            commands.append(command + QStringLiteral(" @") + QString::number(timeout));
            offMainThread = offMainThread && QThread::currentThread() != mainThread;
            return CommandRunner::Result{{}, {}, commandStatus.value(command, 1)};
        };
        const auto noWait = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };
        services.sheets =
            std::make_unique<MacSheetsClient>(gateway.baseUrl(), MacSheetsClient::defaultHttpOptions(), noWait);
        services.korvane = std::make_unique<MacKorvaneApiClient>(gateway.baseUrl());
        services.pending = PendingUploadStore(queuePath());
        services.saveReport = [this](const InventorySnapshot &, const QString &unitResult) {
            if (saveError)
                throw PlatformError(*saveError);
            saves.append(unitResult);
        };
        model = std::make_unique<DashboardViewModel>(std::move(services));
        QObject::connect(
            model.get(), &DashboardViewModel::changed, model.get(),
            [this](DashboardViewModel::Field field) { changes.append(DashboardViewModel::fieldName(field)); });
    }

    static AudioPlatform audioPlatform(bool speakerWorks)
    {
        AudioPlatform platform;
        platform.speakerOutput = [speakerWorks] { return std::make_unique<InstantSpeaker>(speakerWorks); };
        platform.microphoneAccess = []() -> QCoro::Task<bool> { co_return false; };
        return platform;
    }

    QString queuePath() const { return folder.filePath(QStringLiteral("queue")); }

    // Puts a file with these bytes into the queue; names sort in the order of queueing.
    void queue(const QByteArray &bytes)
    {
        QDir().mkpath(queuePath());
        QFile file(queuePath() + QStringLiteral("/2026-12-0%1.json").arg(++queued));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QStringList queueFiles() const { return QDir(queuePath()).entryList(QDir::Files, QDir::Name); }

    // The sign-in form filled in for a PIN sign-in.
    void fillSignIn(const QString &identifier = QStringLiteral("tech1"))
    {
        model->setKorvaneIdentifier(identifier);
        model->setKorvaneCredential(QStringLiteral("123456"));
        model->setKorvaneUsePin(true);
    }

    void signIn()
    {
        fillSignIn();
        waitForTask(model->loginToKorvane());
    }

    // Signed in, scanned and tested, routed to a project: ready for an upload.
    void prepareUpload()
    {
        signIn();
        model->setSnapshot(testedSnapshot());
        model->setEmpID(QStringLiteral("E100"));
        model->setSelectedProject(QStringLiteral("Spring Macs"));
        changes.clear();
    }

    // The requests the gateway saw for one action or path, in order.
    QList<LoggedRequest> requestsFor(const QString &actionOrPath) const
    {
        QList<LoggedRequest> found;
        for (const LoggedRequest &request : gateway.requests()) {
            if (request.query.value(QStringLiteral("action")) == actionOrPath || request.path == actionOrPath)
                found.append(request);
        }
        return found;
    }

    QTemporaryDir folder;
    GatewayStandIn gateway;
    QThread *mainThread = QThread::currentThread();
    QHash<QString, int> commandStatus;
    QStringList commands;
    bool offMainThread = true;
    std::optional<QString> saveError;
    QStringList saves;
    QStringList changes;
    int queued = 0;
    std::unique_ptr<DashboardViewModel> model;
};

} // namespace wrenlow::test
