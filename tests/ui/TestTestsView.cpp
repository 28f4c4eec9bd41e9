#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/devicetests/DiagnosticRow.h"
#include "ui/devicetests/KeyboardTestView.h"
#include "ui/devicetests/TestsView.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include <QApplication>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

namespace {

const QStringList diagnosticIds{
    "system-health", "activation-lock", "mdm-enrollment", "storage-health", "battery-health",    "keyboard",
    "sound",         "camera",          "microphone",     "fingerprint",    "wireless-hardware", "mac-security"};

using States = QList<DiagnosticState>;

// Every diagnostic Ready where `states` says nothing else.
InventorySnapshot snapshotWith(const States &states = {}, const QStringList &ids = diagnosticIds)
{
    InventorySnapshot snapshot;
    for (qsizetype i = 0; i < ids.size(); ++i)
        snapshot.diagnostics.append({ids[i], ids[i], states.value(i, DiagnosticState::Ready), "As found.", "", {}});
    return snapshot;
}

States twelve(DiagnosticState state, qsizetype exception = -1, DiagnosticState other = DiagnosticState::Ready)
{
    States states(12, state);
    if (exception >= 0)
        states[exception] = other;
    return states;
}

} // namespace

class TestTestsView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QStringList m_commands;
    int m_saves = 0;
    std::unique_ptr<DashboardViewModel> m_model;
    std::unique_ptr<TestsView> m_page;

    DiagnosticRow *row(const QString &id) const
    {
        for (auto *row : m_page->findChildren<DiagnosticRow *>())
            if (row->item().id == id)
                return row;
        return nullptr;
    }

    TintedButton *button(const QString &id, const char *name) const { return row(id)->findChild<TintedButton *>(name); }
    QString rowState(const QString &id) const { return row(id)->findChild<StatusPill *>("statePill")->text(); }

    // Clicks land where the pointer is, so the button is scrolled into view first.
    void click(const QString &id, const char *name) const
    {
        // Rows made by the last change are laid out on a later turn.
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        m_page->findChild<QScrollArea *>()->ensureWidgetVisible(button(id, name));
        QTest::mouseClick(button(id, name), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_page.reset(); // before the model it reads
        m_commands.clear();
        m_saves = 0;
        WorkflowServices services;
        services.runCommand = [this](const QString &command, double) {
            m_commands.append(command);
            return CommandRunner::Result{{}, {}, 0};
        };
        services.pending = PendingUploadStore(m_folder.filePath("queue"));
        services.saveReport = [this](const InventorySnapshot &, const QString &) { ++m_saves; };
        m_model = std::make_unique<DashboardViewModel>(std::move(services));
        m_page = std::make_unique<TestsView>(*m_model);
        m_page->resize(1000, 600);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    }

    void headerPills_data()
    {
        QTest::addColumn<std::optional<States>>("states");
        QTest::addColumn<QString>("progress"); // empty: no progress pill
        QTest::addColumn<ThemeRole>("progressColor");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<ThemeRole>("verdictColor");
        using S = DiagnosticState;
        using T = ThemeRole;
        // clang-format off
        QTest::newRow("before the first scan") << std::optional<States>() << "" << T::Accent2 << "TESTING INCOMPLETE" << T::Orange;
        QTest::newRow("one of twelve still ready") << std::optional(twelve(S::Pass, 5)) << "11 / 12 complete" << T::Accent2 << "TESTING INCOMPLETE" << T::Orange;
        QTest::newRow("complete with a failure") << std::optional(twelve(S::Pass, 11, S::Fail)) << "12 / 12 complete" << T::Green << "REVIEW REQUIRED" << T::Orange;
        QTest::newRow("all passed, N/A counted as complete") << std::optional(twelve(S::Pass, 7, S::NotApplicable)) << "12 / 12 complete" << T::Green << "UNIT PASSES" << T::Green;
        // clang-format on
    }

    void headerPills()
    {
        QFETCH(std::optional<States>, states);
        QFETCH(QString, progress);
        if (states)
            m_model->setSnapshot(snapshotWith(*states));
        QTRY_COMPARE(m_page->findChildren<DiagnosticRow *>().size(), states ? 12 : 0);
        const StatusPill *progressPill = m_page->findChild<StatusPill *>("progressPill");
        QCOMPARE(progressPill->isVisible() ? progressPill->text() : QString(), progress);
        if (!progress.isEmpty())
            QTEST(progressPill->color(), "progressColor");
        QTEST(m_page->findChild<StatusPill *>("verdictPill")->text(), "verdict");
        QTEST(m_page->findChild<StatusPill *>("verdictPill")->color(), "verdictColor");
    }

    void rowControls_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<DiagnosticState>("state");
        QTest::addColumn<QString>("run"); // empty: no run button
        QTest::addColumn<bool>("runEnabled");
        QTest::addColumn<bool>("marks");
        // clang-format off
        QTest::newRow("keyboard") << "keyboard" << DiagnosticState::Ready << "Run Test" << true << true;
        QTest::newRow("sound running") << "sound" << DiagnosticState::Running << "Play Test" << false << true;
        QTest::newRow("microphone") << "microphone" << DiagnosticState::Review << "Record Test" << true << true;
        QTest::newRow("camera") << "camera" << DiagnosticState::Ready << "Open Test" << true << true;
        QTest::newRow("camera not applicable") << "camera" << DiagnosticState::NotApplicable << "" << false << false;
        QTest::newRow("automated finding running") << "mac-security" << DiagnosticState::Running << "" << false << true;
        // clang-format on
    }

    void rowControls()
    {
        QFETCH(QString, id);
        QFETCH(DiagnosticState, state);
        QFETCH(QString, run);
        QFETCH(bool, marks);
        m_model->setSnapshot(snapshotWith(twelve(DiagnosticState::Ready, diagnosticIds.indexOf(id), state)));
        QTRY_VERIFY(row(id));
        QCOMPARE(rowState(id), rawValue(state));
        auto *runButton = button(id, "run");
        QCOMPARE(runButton && runButton->isVisible() ? runButton->text() : QString(), run);
        if (!run.isEmpty())
            QTEST(runButton->isEnabled(), "runEnabled");
        for (const char *mark : {"pass", "review", "fail"})
            QVERIFY(button(id, mark)->isVisible() == marks && button(id, mark)->isEnabled());
    }

    void eachMarkGivesItsState_data()
    {
        QTest::addColumn<QString>("state"); // after a click on the mark the row names
        QTest::newRow("pass") << "Pass";
        QTest::newRow("review") << "Review";
        QTest::newRow("fail") << "Fail";
    }

    void eachMarkGivesItsState()
    {
        QFETCH(QString, state);
        m_model->setSnapshot(snapshotWith());
        QTRY_VERIFY(row("sound"));
        click("sound", QTest::currentDataTag());
        QTRY_COMPARE(rowState("sound"), state);
    }

    void changesKeepRowsScrollAndFocus()
    {
        m_page->resize(1000, 400);
        m_model->setSnapshot(snapshotWith());
        QTRY_COMPARE(m_page->findChildren<DiagnosticRow *>().size(), 12);
        const auto rows = m_page->findChildren<DiagnosticRow *>();
        click("camera", "run");
        QTRY_COMPARE(row("camera")->item().detail,
                     "Photo Booth opened. Confirm a clear live image, then mark Pass or Fail.");
        QCOMPARE(m_commands, QStringList{"open -a 'Photo Booth'"});
        QScrollBar *scroll = m_page->findChild<QScrollArea *>()->verticalScrollBar();
        scroll->setValue(scroll->maximum() / 2);
        const int position = scroll->value();
        QVERIFY(position > 0);
        QPointer<TintedButton> fail = button("mac-security", "fail");
        fail->setFocus();
        QTest::mouseClick(fail, Qt::LeftButton);
        QTRY_COMPARE(rowState("mac-security"), "Fail");
        QCOMPARE(row("mac-security")->item().detail, "Technician marked this test as failed.");
        // A re-scan with the same diagnostics also updates the rows in place.
        m_model->setSnapshot(snapshotWith());
        QTRY_COMPARE(rowState("mac-security"), "Ready");
        QVERIFY(m_page->findChildren<DiagnosticRow *>() == rows);
        QCOMPARE(scroll->value(), position);
        QCOMPARE(QApplication::focusWidget(), fail.data());
        // A scan with a different set of diagnostics brings rows of its own.
        m_model->setSnapshot(snapshotWith({}, diagnosticIds.mid(0, 3)));
        QTRY_COMPARE(m_page->findChildren<DiagnosticRow *>().size(), 3);
    }

    // The keyboard row opens the sheet without a call into the view model; the sheet's verdict is its mark.
    void keyboardSheetReportsAMark()
    {
        m_model->setSnapshot(snapshotWith());
        QTRY_VERIFY(row("keyboard"));
        QSignalSpy changes(m_model.get(), &DashboardViewModel::changed);
        click("keyboard", "run");
        auto *sheet = m_page->findChild<KeyboardTestView *>();
        QVERIFY(m_page->isKeyboardTestPresented() && sheet && sheet->isVisible());
        // The sheet covers the page: a click on the row's own Pass lands on the overlay and marks nothing.
        auto *pass = button("keyboard", "pass");
        QTest::mouseClick(m_page->windowHandle(), Qt::LeftButton, {},
                          m_page->mapFromGlobal(pass->mapToGlobal(pass->rect().center())));
        QCOMPARE(changes.count(), 0);
        QTest::mouseClick(sheet->findChild<QAbstractButton *>("keyboardFail"), Qt::LeftButton);
        QTRY_VERIFY(!m_page->isKeyboardTestPresented());
        QTRY_COMPARE(rowState("keyboard"), "Fail");
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_saves, 1);
    }
};

QTEST_MAIN(TestTestsView)
#include "TestTestsView.moc"
