// The view model without a network: construction, announcements, derived values, the scan, the device tests and
// the marks.
#include "WorkflowRig.h"

#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;

using States = QList<DiagnosticState>;

namespace {

InventorySnapshot snapshotWith(const States &states)
{
    InventorySnapshot snapshot;
    for (const DiagnosticState state : states) {
        DiagnosticItem item;
        item.state = state;
        snapshot.diagnostics.append(item);
    }
    return snapshot;
}

} // namespace

class TestDashboardViewModel : public QObject
{
    Q_OBJECT

private slots:
    void construction()
    {
        QTemporaryDir queue;
        for (const char *name : {"a.json", "b.json", "c.json"}) {
            QFile file(queue.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        WorkflowServices services;
        services.pending = PendingUploadStore(queue.path());
        const DashboardViewModel model(std::move(services));
        QCOMPARE(model.pendingCount(), 3);
        QCOMPARE(model.statusText(), "Ready");
        QCOMPARE(model.routingStatus(), "Enter an EMP ID to load projects.");
        QCOMPARE(model.korvaneStatus(), "Korvane is not signed in.");
        QCOMPARE(model.duplicateAction(), "skip");
        QVERIFY(model.korvaneConfigured());
    }

    // Every assignment is announced, also of an unchanged value, by the field's own signal and then by `changed`
    // naming it, each seeing the value already stored.
    void announcements()
    {
        WorkflowRig rig;
        DashboardViewModel &model = *rig.model;
        QStringList seen;
        connect(&model, &DashboardViewModel::empIDChanged, this, [&] { seen << "own:" + model.empID(); });
        connect(&model, &DashboardViewModel::changed, this, [&](DashboardViewModel::Field field) {
            seen << DashboardViewModel::fieldName(field) + ':' + model.empID();
        });
        model.setEmpID("E1");
        model.setEmpID("E1");
        QCOMPARE(seen, QStringList({"own:E1", "empID:E1", "own:E1", "empID:E1"}));

        const QMetaEnum fields = QMetaEnum::fromType<DashboardViewModel::Field>();
        QCOMPARE(fields.keyCount(), DashboardViewModel::fieldCount);
        for (int index = 0; index < fields.keyCount(); ++index)
            QCOMPARE(DashboardViewModel::fieldName(DashboardViewModel::Field(index)), fields.key(index));
    }

    void pageFromRaw_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("page"); // -1: none
        QTest::newRow("Overview") << "Overview" << int(AppPage::Overview);
        QTest::newRow("Upload") << "Upload" << int(AppPage::Upload);
        QTest::newRow("lower case") << "overview" << -1;
        QTest::newRow("padded") << " Tests" << -1;
    }

    void pageFromRaw()
    {
        QFETCH(QString, raw);
        QFETCH(int, page);
        const std::optional<AppPage> found = wrenlow::appPageFromRaw(raw);
        QCOMPARE(found ? int(*found) : -1, page);
    }

    void progressAndVerdict_data()
    {
        using S = DiagnosticState;
        QTest::addColumn<States>("states");
        QTest::addColumn<int>("completed");
        QTest::addColumn<bool>("canUpload");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("one still ready") << States{S::Pass, S::Ready, S::Pass} << 2 << false << "TESTING INCOMPLETE";
        QTest::newRow("running beats fail") << States{S::Fail, S::Running} << 1 << false << "TESTING INCOMPLETE";
        QTest::newRow("review among passes") << States{S::Pass, S::Review} << 2 << true << "REVIEW REQUIRED";
        QTest::newRow("N/A left out") << States{S::Pass, S::NotApplicable} << 2 << true << "UNIT PASSES";
        QTest::newRow("only N/A") << States{S::NotApplicable, S::NotApplicable} << 2 << false << "UNIT PASSES";
    }

    void progressAndVerdict()
    {
        QFETCH(States, states);
        WorkflowRig rig;
        rig.model->setSnapshot(snapshotWith(states));
        QCOMPARE(rig.model->totalTests(), states.size());
        QTEST(int(rig.model->completedTests()), "completed");
        QTEST(rig.model->canUpload(), "canUpload");
        QTEST(rig.model->unitResult(), "verdict");
    }

    void routing_data()
    {
        QTest::addColumn<QString>("empID");
        QTest::addColumn<QString>("technician");
        QTest::addColumn<QString>("assetTag");
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("isAmazon");
        QTest::addColumn<bool>("ready");
        QTest::newRow("amazon, any case, padded") << " amzn\n"
                                                  << "Bo"
                                                  << "AZ1"
                                                  << "" << true << true;
        QTest::newRow("amazon, blank tag") << "AMZN"
                                           << "Bo"
                                           << "  "
                                           << "" << true << false;
        QTest::newRow("not quite amazon") << "AMZN1"
                                          << "Bo"
                                          << "AZ1"
                                          << "" << false << false;
        QTest::newRow("blank project") << "E1"
                                       << ""
                                       << ""
                                       << " \t" << false << false;
        QTest::newRow("project") << "E1"
                                 << ""
                                 << ""
                                 << "P" << false << true;
    }

    void routing()
    {
        WorkflowRig rig;
        DashboardViewModel &model = *rig.model;
        QFETCH(QString, empID);
        QFETCH(QString, technician);
        QFETCH(QString, assetTag);
        QFETCH(QString, project);
        model.setEmpID(empID);
        model.setTechnicianName(technician);
        model.setAssetTag(assetTag);
        model.setSelectedProject(project);
        QTEST(model.isAmazon(), "isAmazon");
        QTEST(model.routingReady(), "ready");
    }

    // Requests during a scan are dropped; the result replaces the snapshot and is saved once.
    void scan()
    {
        const FakeMacEnvironment mac("apple-silicon-macbook");
        WorkflowRig rig;
        DashboardViewModel &model = *rig.model;
        QCoro::Task<> first = model.scan();
        waitForTask(model.scan());
        waitForTask(model.scan());
        QVERIFY(model.isScanning());
        waitForTask(std::move(first));
        QCOMPARE(rig.changes.count("isScanning"), 2);
        QVERIFY(model.scanPulse());
        QCOMPARE(model.totalTests(), 12);
        QVERIFY2(QRegularExpression("^Scan complete in \\d+\\.\\ds$").match(model.statusText()).hasMatch(),
                 qPrintable(model.statusText()));
        QCOMPARE(rig.saves, QStringList{"TESTING INCOMPLETE"});
    }

    void reportSaveWarning()
    {
        WorkflowRig rig;
        rig.model->setSnapshot(scannedSnapshot());
        rig.saveError = "Disk full.";
        rig.model->markDiagnostic("keyboard", DiagnosticState::Pass);
        QCOMPARE(rig.model->statusText(), "Report save warning: Disk full.");
        QCOMPARE(rig.model->diagnostic("keyboard")->state, DiagnosticState::Pass);
    }

    void deviceTests_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("photoBooth");
        QTest::addColumn<int>("faceTime");
        QTest::addColumn<bool>("speakerWorks");
        QTest::addColumn<DiagnosticState>("state");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QStringList>("commands");

        const QString booth = "open -a 'Photo Booth' @8";
        const QString faceTime = "open -a FaceTime @8";
        QTest::newRow("speaker played") << "sound" << 1 << 1 << true << DiagnosticState::Ready
                                        << "Speaker sequence completed. Confirm clean sound, equal channels, and no "
                                           "rattling or distortion."
                                        << QStringList();
        QTest::newRow("speaker refused") << "sound" << 1 << 1 << false << DiagnosticState::Review
                                         << "Speaker test could not complete: No audio output." << QStringList();
        QTest::newRow("microphone denied")
            << "microphone" << 1 << 1 << true << DiagnosticState::Review
            << "Microphone test could not complete: Microphone access was not granted." << QStringList();
        QTest::newRow("Photo Booth") << "camera" << 0 << 1 << true << DiagnosticState::Ready
                                     << "Photo Booth opened. Confirm a clear live image, then mark Pass or Fail."
                                     << QStringList{booth};
        QTest::newRow("Photo Booth timed out, FaceTime")
            << "camera" << 124 << 0 << true << DiagnosticState::Ready
            << "FaceTime opened. Confirm the camera image, then mark Pass or Fail." << QStringList{booth, faceTime};
        QTest::newRow("neither") << "camera" << -1 << 1 << true << DiagnosticState::Review
                                 << "A camera application could not be opened for visual confirmation."
                                 << QStringList{booth, faceTime};
    }

    // A test shows `running` without saving it, then saves its outcome; the commands wait off the main thread.
    void deviceTests()
    {
        QFETCH(QString, id);
        QFETCH(bool, speakerWorks);
        WorkflowRig rig({}, speakerWorks);
        QFETCH(int, photoBooth);
        QFETCH(int, faceTime);
        rig.commandStatus = {{"open -a 'Photo Booth'", photoBooth}, {"open -a FaceTime", faceTime}};
        rig.model->setSnapshot(scannedSnapshot());
        QList<DiagnosticState> shown;
        connect(rig.model.get(), &DashboardViewModel::snapshotChanged, this,
                [&] { shown << rig.model->diagnostic(id)->state; });

        waitForTask(rig.model->runDiagnosticAction(id));
        QFETCH(DiagnosticState, state);
        QCOMPARE(shown, QList<DiagnosticState>({DiagnosticState::Running, state}));
        QTEST(rig.model->diagnostic(id)->detail, "detail");
        QCOMPARE(rig.saves.size(), 1);
        QTEST(rig.commands, "commands");
        QVERIFY(rig.offMainThread);
    }

    void ignoredIds()
    {
        WorkflowRig rig;
        rig.model->setSnapshot(scannedSnapshot());
        rig.changes.clear();
        for (const char *id : {"keyboard", "Sound", "nothing"})
            waitForTask(rig.model->runDiagnosticAction(QString::fromLatin1(id)));
        rig.model->markDiagnostic("nothing", DiagnosticState::Pass);
        QVERIFY(rig.changes.isEmpty());
        QVERIFY(rig.saves.isEmpty());
    }

    void marks_data()
    {
        QTest::addColumn<DiagnosticState>("state");
        QTest::addColumn<QString>("detail"); // empty: the detail stays
        QTest::newRow("pass") << DiagnosticState::Pass << "Technician marked this test as passed.";
        QTest::newRow("fail") << DiagnosticState::Fail << "Technician marked this test as failed.";
        QTest::newRow("review") << DiagnosticState::Review << "Technician marked this test for review.";
        QTest::newRow("ready") << DiagnosticState::Ready << QString();
    }

    void marks()
    {
        QFETCH(DiagnosticState, state);
        QFETCH(QString, detail);
        WorkflowRig rig;
        rig.model->setSnapshot(scannedSnapshot());
        const QString before = rig.model->diagnostic("mac-security")->detail;
        rig.model->markDiagnostic("mac-security", state);
        QCOMPARE(rig.model->diagnostic("mac-security")->state, state);
        QCOMPARE(rig.model->diagnostic("mac-security")->detail, detail.isEmpty() ? before : detail);
        QCOMPARE(rig.saves.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDashboardViewModel)
#include "TestDashboardViewModel.moc"
