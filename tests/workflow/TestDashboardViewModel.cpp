// The view model without a network: announcements, the verdict, the scan, the device tests and the marks.
#include "WorkflowRig.h"

#include "workflow/StatusText.h"

#include <QMetaEnum>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;

using States = QList<DiagnosticState>;

class TestDashboardViewModel : public QObject
{
    Q_OBJECT

private slots:
    // Every assignment is announced, also of an unchanged value, by the field's own signal and then by `changed`
    // naming it, each seeing the value already stored. The queue's files are counted at construction.
    void announcements()
    {
        WorkflowRig rig;
        rig.queue("{}");
        rig.queue("{}");
        WorkflowServices services;
        services.pending = PendingUploadStore(rig.queuePath());
        DashboardViewModel model(std::move(services));
        QCOMPARE(model.pendingCount(), 2);

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
        QCOMPARE(appPageFromRaw("Tests"), AppPage::Tests);
        QCOMPARE(appPageFromRaw("overview"), std::nullopt);
    }

    void derivedValues_data()
    {
        using S = DiagnosticState;
        QTest::addColumn<States>("states");
        QTest::addColumn<QString>("empID");
        QTest::addColumn<QString>("assetTag");
        QTest::addColumn<QString>("derived"); // completed of total | upload | verdict | routing
        // clang-format off
        QTest::newRow("one ready") << States{S::Pass, S::Ready} << " amzn\n" << "AZ1" << "1/2 | - | TESTING INCOMPLETE | routed";
        QTest::newRow("running beats fail") << States{S::Fail, S::Running} << "AMZN1" << "AZ1" << "1/2 | - | TESTING INCOMPLETE | -";
        QTest::newRow("review") << States{S::Pass, S::Review} << "E1" << "AZ1" << "2/2 | upload | REVIEW REQUIRED | -";
        QTest::newRow("N/A left out") << States{S::Pass, S::NotApplicable} << " " << "AZ1" << "2/2 | upload | UNIT PASSES | -";
        QTest::newRow("only N/A") << States{S::NotApplicable} << "AMZN" << " " << "1/1 | - | UNIT PASSES | -";
        // clang-format on
    }

    // The verdict over the applicable diagnostics; routing by the Amazon rule (name and tag) or by the project.
    void derivedValues()
    {
        QFETCH(States, states);
        QFETCH(QString, empID);
        QFETCH(QString, assetTag);
        InventorySnapshot snapshot;
        for (const DiagnosticState state : states)
            snapshot.diagnostics.append(DiagnosticItem{{}, {}, state, {}, {}, {}});
        WorkflowRig rig;
        DashboardViewModel &model = *rig.model;
        model.setSnapshot(snapshot);
        model.setEmpID(empID);
        model.setTechnicianName("Bo");
        model.setAssetTag(assetTag);
        model.setSelectedProject(" ");
        QTEST(QString("%1/%2 | %3 | %4 | %5")
                  .arg(model.completedTests())
                  .arg(model.totalTests())
                  .arg(model.canUpload() ? "upload" : "-", model.unitResult(), model.routingReady() ? "routed" : "-"),
              "derived");
    }

    // Requests during a scan are dropped; the result replaces the snapshot and is saved once. A mark writes its
    // fixed sentence (one per mark), or keeps the detail for any other state, and a failing save leaves it stored.
    void scanAndMarks()
    {
        const FakeMacEnvironment mac("apple-silicon-macbook");
        WorkflowRig rig;
        DashboardViewModel &model = *rig.model;
        model.markDiagnostic("keyboard", DiagnosticState::Pass);
        QCoro::Task<> first = model.scan();
        waitForTask(model.scan());
        QVERIFY(model.isScanning());
        waitForTask(std::move(first));
        QCOMPARE(rig.changes.count("isScanning"), 2);
        QCOMPARE(model.totalTests(), 12);
        QVERIFY2(QRegularExpression("^Scan complete in \\d+\\.\\ds$").match(model.statusText()).hasMatch(),
                 qPrintable(model.statusText()));
        QCOMPARE(rig.saves, QStringList{"TESTING INCOMPLETE"});

        const QString before = model.diagnostic("mac-security")->detail;
        model.markDiagnostic("mac-security", DiagnosticState::Ready);
        QCOMPARE(model.diagnostic("mac-security")->detail, before);
        rig.saveError = "Disk full.";
        model.markDiagnostic("mac-security", DiagnosticState::Review);
        QCOMPARE(model.statusText(), "Report save warning: Disk full.");
        QCOMPARE(model.diagnostic("mac-security")->detail, "Technician marked this test for review.");
        QCOMPARE(model.diagnostic("mac-security")->state, DiagnosticState::Review);
        QCOMPARE(rig.saves.size(), 2);
        model.markDiagnostic("keyboard", DiagnosticState::Fail);
        QCOMPARE(model.diagnostic("keyboard")->detail, "Technician marked this test as failed.");
        model.markDiagnostic("keyboard", DiagnosticState::Pass);
        QCOMPARE(model.diagnostic("keyboard")->detail, "Technician marked this test as passed.");
        rig.changes.clear();
        model.markDiagnostic("nothing", DiagnosticState::Pass);
        QVERIFY(rig.changes.isEmpty());
    }

    // Whatever escapes the scan's worker, the scan ends: the button is free again and the line says why in words.
    void scanThatThrows()
    {
        for (const bool outOfMemory : {true, false}) {
            WorkflowServices services;
            services.inventory = MacInventoryService({}, [outOfMemory](const mactools::ToolLimits &) -> MacToolOutputs {
                if (outOfMemory)
                    throw std::bad_alloc();
                throw std::runtime_error("Unknown error");
            });
            DashboardViewModel model(std::move(services));
            waitForTask(model.scan());
            QVERIFY(!model.isScanning());
            QCOMPARE(model.statusText(),
                     "Scan could not complete: " + QString(outOfMemory ? "There was not enough memory to finish."
                                                                       : "An unexpected error occurred."));
        }
    }

    void deviceTests_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("speakerWorks");
        QTest::addColumn<int>("photoBooth");
        QTest::addColumn<int>("faceTime");
        QTest::addColumn<States>("shown");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QStringList>("commands");
        const QString booth = "open -a 'Photo Booth' @8";
        const QString faceTime = "open -a FaceTime @8";
        using S = DiagnosticState;
        const States ready{S::Running, S::Ready};
        const States review{S::Running, S::Review};
        // clang-format off
        QTest::newRow("speaker") << "sound" << true << 1 << 1 << ready << "Speaker sequence completed. Confirm clean sound, equal channels, and no rattling or distortion." << QStringList();
        QTest::newRow("no speaker") << "sound" << false << 1 << 1 << review << "Speaker test could not complete: No audio output." << QStringList();
        QTest::newRow("microphone denied") << "microphone" << true << 1 << 1 << review << "Microphone test could not complete: Microphone access was not granted." << QStringList();
        QTest::newRow("Photo Booth") << "camera" << true << 0 << 1 << ready << "Photo Booth opened. Confirm a clear live image, then mark Pass or Fail." << QStringList{booth};
        QTest::newRow("Photo Booth timed out") << "camera" << true << 124 << 0 << ready << "FaceTime opened. Confirm the camera image, then mark Pass or Fail." << QStringList{booth, faceTime};
        QTest::newRow("no camera") << "camera" << true << 1 << 1 << review << "A camera application could not be opened for visual confirmation." << QStringList{booth, faceTime};
        QTest::newRow("keyboard") << "keyboard" << true << 0 << 0 << States() << "" << QStringList();
        // clang-format on
    }

    // A test shows `running` without saving it, then saves its outcome; the commands wait off the main thread.
    // Any other id does nothing.
    void deviceTests()
    {
        QFETCH(QString, id);
        QFETCH(bool, speakerWorks);
        QFETCH(int, photoBooth);
        QFETCH(int, faceTime);
        WorkflowRig rig({}, speakerWorks);
        rig.commandStatus = {{"open -a 'Photo Booth'", photoBooth}, {"open -a FaceTime", faceTime}};
        rig.model->setSnapshot(scannedSnapshot());
        States shown;
        connect(rig.model.get(), &DashboardViewModel::snapshotChanged, this,
                [&] { shown << rig.model->diagnostic(id)->state; });

        waitForTask(rig.model->runDiagnosticAction(id));
        QTEST(shown, "shown");
        if (!shown.isEmpty())
            QTEST(rig.model->diagnostic(id)->detail, "detail");
        QCOMPARE(rig.saves.size(), shown.isEmpty() ? 0 : 1);
        QTEST(rig.commands, "commands");
        QVERIFY(rig.offMainThread);
    }
};

QTEST_GUILESS_MAIN(TestDashboardViewModel)
#include "TestDashboardViewModel.moc"
