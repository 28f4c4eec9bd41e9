// The Upload page driven through its real widgets, against the stand-in gateway on loopback.
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TintedButton.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/WrenlowMacApp.h"

#include "FakeMacEnvironment.h"
#include "GatewayStandIn.h"
#include "TaskWait.h"

#include "scan/MacInventoryService.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QCoroTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace wrenlow;
using namespace wrenlow::test;
using wrenlow::support::waitForTask;
using namespace std::chrono_literals;
using Id = std::optional<qint64>;

namespace {

// A gateway script, by its path from this folder.
QJsonObject scenario(const QString &path)
{
    QFile file(QFINDTESTDATA(path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no scenario %s", qPrintable(path));
    return QJsonDocument::fromJson(file.readAll()).object();
}

// The page in the application's whole window, on a view model of its own, in a fresh home folder, talking to a
// stand-in gateway.
struct Rig
{
    Rig(const QJsonObject &script, const InventorySnapshot &snapshot)
    {
        qputenv("HOME", home.path().toUtf8());
        gateway.setScenario(GatewayScenario(script));
        gateway.listen();
        const auto noWait = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };
        app = std::make_unique<WrenlowMacApp>(
            std::make_unique<DashboardViewModel>(WorkflowServices::production(gateway.baseUrl(), noWait)));
        model = &app->model();
        model->setSnapshot(snapshot);
        model->setSelectedPage(AppPage::Upload);
        page = app->content()->page(AppPage::Upload);
        app->window()->show();
        settle();
    }

    // Lets the page take in the model's latest changes.
    static void settle() { QCoreApplication::processEvents(); }

    template <typename T> T *find(const char *name) const
    {
        T *widget = page->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QLineEdit *edit(const char *field) const { return find<LabeledField>(field)->lineEdit(); }
    QString caption(const char *field) const { return find<LabeledField>(field)->caption()->text(); }
    bool shown(const char *name) const { return find<QWidget>(name)->isVisible(); }
    bool enabled(const char *name) const { return find<QWidget>(name)->isEnabled(); }
    QString text(const char *label) const { return find<PlainLabel>(label)->outsideText(); }

    void type(const char *field, const QString &text) const
    {
        edit(field)->selectAll();
        QTest::keyClicks(edit(field), text);
        settle();
    }
    void click(const char *button) const
    {
        QTest::mouseClick(find<QWidget>(button), Qt::LeftButton);
        settle();
    }
    // Picks a menu entry the way a technician does with the keyboard, which is what makes the menu report a choice.
    void choose(const char *menu, const QString &entry) const
    {
        auto *combo = find<QComboBox>(menu);
        const int target = combo->findText(entry);
        QVERIFY2(target >= 0, qPrintable(entry));
        combo->setFocus();
        while (combo->currentIndex() != target)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        settle();
    }
    QStringList entries(const char *menu) const
    {
        QStringList texts;
        for (auto *combo = find<QComboBox>(menu); texts.size() < combo->count();)
            texts.append(combo->itemText(int(texts.size())));
        return texts;
    }

    QTemporaryDir home;
    GatewayStandIn gateway;
    std::unique_ptr<WrenlowMacApp> app;
    DashboardViewModel *model = nullptr;
    QWidget *page = nullptr;
};

} // namespace

class TestUploadView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WrenlowMacApp::prepareApplication();
        const FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
        m_tested = waitForTask(MacInventoryService().scan());
        for (DiagnosticItem &item : m_tested.diagnostics) {
            if (item.state != DiagnosticState::NotApplicable)
                item.state = DiagnosticState::Pass;
        }
    }

    void stateShownOnThePage_data()
    {
        QTest::addColumn<QList<DiagnosticState>>("states"); // of the first diagnostics, the rest left out
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<qint64>("pending");
        QTest::addColumn<QString>("pendingText");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("uploadEnabled");

        using S = DiagnosticState;
        const QList<S> passed{S::Pass, S::Pass, S::NotApplicable};
        // clang-format off
        QTest::newRow("nothing to test") << QList<S>{} << true << false << qint64(0) << "0 saved uploads" << false << false;
        QTest::newRow("complete with a failure") << QList<S>{S::Pass, S::Fail} << true << false << qint64(2) << "2 saved uploads" << true << true;
        QTest::newRow("signed out") << passed << false << false << qint64(2) << "2 saved uploads" << true << false;
        QTest::newRow("routing busy") << passed << true << true << qint64(1) << "1 saved upload" << true << false;
        // clang-format on
    }

    void stateShownOnThePage()
    {
        QFETCH(QList<DiagnosticState>, states);
        QFETCH(bool, signedIn);
        QFETCH(bool, busy);
        QFETCH(qint64, pending);
        QFETCH(QString, pendingText);
        QFETCH(bool, complete);
        QFETCH(bool, uploadEnabled);

        Rig rig({}, m_tested);
        DashboardViewModel &model = *rig.model;
        InventorySnapshot snapshot = m_tested;
        snapshot.diagnostics = snapshot.diagnostics.mid(0, states.size());
        for (qsizetype i = 0; i < states.size(); ++i)
            snapshot.diagnostics[i].state = states.at(i);
        model.setSnapshot(snapshot);
        model.setSheetsConfigured(signedIn);
        model.setIsRoutingBusy(busy);
        model.setPendingCount(pending);
        model.setEmpID("E100");
        model.setSelectedProject("Refurb West");
        Rig::settle();

        QCOMPARE(rig.find<StatusPill>("testsPill")->text(), complete ? "Tests complete" : "Testing incomplete");
        QCOMPARE(rig.find<StatusPill>("testsPill")->color(), complete ? ThemeRole::Green : ThemeRole::Orange);
        QCOMPARE(rig.find<StatusPill>("sheetsPill")->text(), signedIn ? "Sheets Session Ready" : "Sign In for Sheets");
        QCOMPARE(rig.find<StatusPill>("sheetsPill")->color(), signedIn ? ThemeRole::Accent : ThemeRole::Orange);
        QCOMPARE(rig.find<QLabel>("sheetsDestinationDetail")->text(),
                 signedIn ? "Zel routing, duplicate handling, and secure broker session ready"
                          : "Sign in to Korvane to enable Sheets routing");
        QCOMPARE(rig.enabled("uploadButton"), uploadEnabled);
        QCOMPARE(rig.find<TintedButton>("uploadButton")->text(), busy ? "Working\u2026" : "Upload to Zel Sheets");
        // One busy flag covers every routing operation, so the spinner and both routing buttons follow it too.
        QCOMPARE(rig.shown("routingBusy"), busy);
        QCOMPARE(rig.enabled("loadProjectsButton"), !busy);
        QCOMPARE(rig.enabled("checkDuplicateButton"), signedIn && !busy);
        QCOMPARE(rig.find<QLabel>("pendingDestinationDetail")->text(), pendingText);
        QCOMPARE(rig.shown("retryPendingButton"), pending > 0);
        QCOMPARE(rig.enabled("retryPendingButton"), signedIn && !busy);
    }

    void technicianRoad()
    {
        QJsonObject script = scenario("scenarios/upload-road.json");
        // The second probe waits for the test, to look at the Sign In button while it runs.
        const char *health =
            R"([{"json": {"ok": true}}, {"json": {"ok": true}, "hold": true}, {"json": {"ok": true}}])";
        script.insert("GET /health", QJsonDocument::fromJson(health).array());
        Rig rig(script, m_tested);
        QVERIFY(!rig.shown("duplicateMessage") && !rig.shown("routingEmployeeName"));
        rig.type("empIdField", "E100");
        rig.type("projectTextField", "Refurb West");

        // Empty fields do not disable Sign In; the model answers in the status line.
        rig.click("signInButton");
        QTRY_COMPARE(rig.text("korvaneStatusLine"), "Enter a Korvane user and password or PIN.");

        // Sign-in with a PIN: switching keeps the typed text; Sign In stays busy through the probe.
        rig.type("korvaneUserField", "tech1");
        rig.type("korvaneCredentialField", "123456");
        QCOMPARE(rig.caption("korvaneCredentialField"), "PASSWORD");
        rig.click("usePinSwitch");
        QCOMPARE(rig.caption("korvaneCredentialField"), "6-DIGIT PIN");
        QCOMPARE(rig.edit("korvaneCredentialField")->text(), "123456");
        rig.click("signInButton");
        QTRY_COMPARE(rig.gateway.heldCount(), 1);
        QVERIFY(!rig.enabled("signInButton") && rig.find<TintedButton>("signInButton")->isBusy());
        rig.gateway.releaseHeld();
        QTRY_COMPARE(rig.text("korvaneUserStatus"), "Korvane ready: 2 lots, 2 categories.");
        QCOMPARE(rig.find<StatusPill>("korvanePill")->text(), "Signed In");
        QCOMPARE(rig.find<StatusPill>("korvanePill")->color(), ThemeRole::Green);
        QVERIFY(rig.shown("signedInBlock") && !rig.shown("signInRow") && !rig.shown("korvaneStatusLine"));
        QCOMPARE(rig.text("korvaneUserName"), "Ada Lovelace");

        // Projects: the typed project is still offered, so the menu shows it; a markup name stays plain text.
        rig.click("loadProjectsButton");
        QTRY_COMPARE(rig.text("routingStatus"), "Loaded 3 projects for Ada Lovelace.");
        QVERIFY(rig.shown("projectMenu") && !rig.shown("projectTextField") && rig.shown("routingEmployeeName"));
        QCOMPARE(rig.entries("projectMenu"), QStringList({"Refurb East", "Refurb West", "<b>Bold</b> project"}));
        QCOMPARE(rig.text("routingEmployeeName"), "Ada Lovelace");
        rig.choose("projectMenu", "Refurb East");
        QCOMPARE(rig.model->selectedProject(), "Refurb East");

        // Duplicate check: the gateway's finding shows beside the button.
        rig.click("checkDuplicateButton");
        QTRY_VERIFY(rig.text("duplicateMessage").startsWith("Duplicate found in Refurb West row 12 ("));
        QVERIFY(rig.shown("duplicateMessage"));

        // Lot and category, then the resolve and its summary with the review symbol.
        QCOMPARE(rig.entries("lotMenu"), QStringList({"Select lot", "Spring intake", "Spring intake / Macs"}));
        rig.choose("lotMenu", "Select lot");
        QCOMPARE(rig.model->selectedKorvaneLotId(), std::nullopt);
        QVERIFY(!rig.enabled("resolveButton"));
        rig.choose("lotMenu", "Spring intake / Macs");
        rig.choose("categoryMenu", "Desktop");
        QCOMPARE(rig.model->selectedKorvaneLotId(), 42);
        QCOMPARE(rig.model->selectedKorvaneCategoryId(), 8);
        QVERIFY(!rig.shown("resolveSummary"));
        rig.click("resolveButton");
        QTRY_COMPARE(rig.text("resolveSummaryText"),
                     "Korvane found 2 candidate matches. Technician review is required before commit.");
        QVERIFY(rig.shown("resolveSummary"));
        QCOMPARE(rig.find<SymbolView>("resolveSummarySymbol")->symbol(), "exclamationmark.bubble");
        QCOMPARE(rig.find<SymbolView>("resolveSummarySymbol")->color(), ThemeRole::Orange);

        // An upload the gateway keeps failing goes to the queue; the retry sends it.
        rig.click("uploadButton");
        QTRY_VERIFY(rig.text("routingStatus").startsWith("Network upload failed. Saved to pending queue: "));
        rig.click("retryPendingButton");
        QTRY_COMPARE(rig.text("routingStatus"), "Retried pending queue: 1 uploaded, 0 remaining.");

        rig.click("signOutButton");
        QTRY_COMPARE(rig.find<StatusPill>("korvanePill")->text(), "Ready to Sign In");
        QCOMPARE(rig.find<StatusPill>("korvanePill")->color(), ThemeRole::Accent2);
        QVERIFY(rig.shown("signInRow") && !rig.shown("signedInBlock"));
    }

    // The Amazon layout follows every keystroke in the EMP ID; its fields keep their text across a change of route.
    void routingInputs()
    {
        Rig rig({}, m_tested);
        rig.type("projectTextField", "Refurb West");
        const QString keys = " amzn ";
        for (qsizetype typed = 1; typed <= keys.size(); ++typed) {
            QTest::keyClick(rig.edit("empIdField"), keys.at(typed - 1).toLatin1());
            Rig::settle();
            const bool amazon = typed >= 5;
            QCOMPARE(rig.shown("amazonFields"), amazon);
            QCOMPARE(rig.shown("amazonProject"), amazon);
            QCOMPARE(rig.shown("projectTextField"), !amazon);
            QCOMPARE(rig.caption("assetTagField"), amazon ? "AZ NUMBER / ASSET TAG" : "ASSET TAG");
            QCOMPARE(rig.edit("assetTagField")->placeholderText(),
                     amazon ? "Required AZ number" : "Optional asset tag");
            QCOMPARE(rig.enabled("loadProjectsButton"), typed >= 2); // a blank EMP ID cannot load
        }
        QCOMPARE(rig.edit("amazonProject")->text(), "Incoming Amazon Returns");
        QCOMPARE(rig.model->selectedProject(), "Refurb West"); // shown fixed, never overwritten

        // Each Amazon field and the comments editor write the model's value of their name.
        const QList<QByteArray> values{"sent",        "trackingNumber", "location",        "palletNumber",
                                       "fsnCode",     "asinCode",       "itemDescription", "issue",
                                       "workingOnIt", "assetTag",       "comments"};
        auto *comments = rig.find<QPlainTextEdit>("commentsEditor");
        const auto editor = [&](const QByteArray &value) -> QWidget * {
            return value == "comments" ? comments : static_cast<QWidget *>(rig.edit(value + "Field"));
        };
        const auto shown = [&](const QByteArray &value) {
            return value == "comments" ? comments->toPlainText() : rig.edit(value + "Field")->text();
        };
        const auto typed = [](const QByteArray &value) { return QString("  %1 as typed ").arg(value); };
        for (const QByteArray &value : values)
            QTest::keyClicks(editor(value), typed(value));
        rig.type("empIdField", "E100");
        rig.type("empIdField", "amzn");
        for (const QByteArray &value : values) {
            QCOMPARE(rig.model->property(value).toString(), typed(value));
            QCOMPARE(shown(value), typed(value));
        }

        // Only the exact stored value checks a segment; each segment stores its own.
        auto *picker = rig.find<SegmentedPicker>("duplicateActionPicker");
        const QStringList actions{"skip", "append", "overwrite", "Append"};
        for (int stored = 0; stored < actions.size(); ++stored) {
            rig.model->setDuplicateAction(actions.at(stored));
            Rig::settle();
            QCOMPARE(picker->currentIndex(), stored < 3 ? stored : -1);
        }
        for (int segment = 0; segment < 3; ++segment) {
            QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(segment).center());
            Rig::settle();
            QCOMPARE(rig.model->duplicateAction(), actions.at(segment));
            QCOMPARE(picker->currentIndex(), segment);
        }
    }

    void menusNeverSelectOnTheirOwn_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<Id>("lot");
        QTest::addColumn<Id>("category");
        QTest::addColumn<QStringList>("shown"); // by the project, lot and category menus; empty: no entry chosen

        // clang-format off
        QTest::newRow("offered") << "B" << Id(2) << Id(8) << QStringList{"B", "Lot two", "Desktop"};
        QTest::newRow("not offered") << "Gone" << Id(99) << Id(7) << QStringList{"", "", ""};
        QTest::newRow("none") << "" << Id() << Id() << QStringList{"", "Select lot", "Select category"};
        // clang-format on
    }

    void menusNeverSelectOnTheirOwn()
    {
        QFETCH(QString, project);
        QFETCH(Id, lot);
        QFETCH(Id, category);
        QFETCH(QStringList, shown);

        using Field = DashboardViewModel::Field;
        Rig rig({}, m_tested);
        DashboardViewModel &model = *rig.model;
        model.setKorvaneSignedIn(true);
        model.setSelectedProject(project);
        model.setSelectedKorvaneLotId(lot);
        model.setSelectedKorvaneCategoryId(category);
        QSignalSpy changes(&model, &DashboardViewModel::changed);
        // Lists filled, refilled and filled with something else: the selection is never written by the page.
        const KorvaneLot one{1, "Lot one", std::nullopt, false};
        const KorvaneLot two{2, "Lot two", std::nullopt, false};
        for (int round = 0; round < 3; ++round) {
            model.setProjectOptions(round == 2 ? QStringList{"A", "B", "C"} : QStringList{"A", "B"});
            model.setKorvaneLots(round == 2 ? QList<KorvaneLot>{two, one} : QList<KorvaneLot>{one, two});
            model.setKorvaneCategories({KorvaneUnitCategory{.configValueId = 8, .label = "Desktop"}});
            Rig::settle();
        }
        for (const QList<QVariant> &change : changes) {
            const auto field = change.at(0).value<Field>();
            QVERIFY(field != Field::selectedProject && field != Field::selectedKorvaneLotId &&
                    field != Field::selectedKorvaneCategoryId);
        }
        for (int menu = 0; menu < 3; ++menu) {
            auto *combo = rig.find<QComboBox>(std::array{"projectMenu", "lotMenu", "categoryMenu"}[menu]);
            QCOMPARE(combo->currentText(), shown.at(menu));
            QCOMPARE(combo->currentIndex() < 0, shown.at(menu).isEmpty());
        }
    }

    void wheelOverAClosedMenuScrollsThePage_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::newRow("project") << "projectMenu";
        QTest::newRow("lot") << "lotMenu";
        QTest::newRow("unit category") << "categoryMenu";
    }

    // A wheel notch that passes over a closed menu scrolls the page; the menu's choice, the model and the focus
    // stay where they were.
    void wheelOverAClosedMenuScrollsThePage()
    {
        QFETCH(QString, menu);
        Rig rig({}, m_tested);
        DashboardViewModel &model = *rig.model;
        model.setKorvaneSignedIn(true);
        model.setProjectOptions({"Refurb East", "Refurb West"});
        model.setSelectedProject("Refurb East");
        model.setKorvaneLots({KorvaneLot{1, "Lot one", std::nullopt, false}, {2, "Lot two", std::nullopt, false}});
        model.setSelectedKorvaneLotId(1);
        model.setKorvaneCategories({{.configValueId = 7, .label = "Laptop"}, {.configValueId = 8, .label = "Desktop"}});
        model.setSelectedKorvaneCategoryId(7);
        Rig::settle();
        auto *combo = rig.find<QComboBox>(menu.toLatin1());
        const int chosen = combo->currentIndex();
        QVERIFY(chosen >= 0 && chosen + 1 < combo->count()); // a notch down would choose the next entry
        QScrollBar *scroll = rig.find<QScrollArea>("uploadScroll")->verticalScrollBar();
        QVERIFY(scroll->maximum() > 0);
        QSignalSpy changes(&model, &DashboardViewModel::changed);

        const QPoint centre = combo->rect().center();
        QWheelEvent notch(centre, combo->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // As the window system delivers it: only such an event goes on to the page when the menu leaves it.
        QSpontaneKeyEvent::setSpontaneous(&notch);
        QApplication::instance()->notify(combo, &notch);
        Rig::settle();
        QCOMPARE(combo->currentIndex(), chosen);
        QCOMPARE(changes.count(), 0);
        QVERIFY(scroll->value() > 0);
        QVERIFY(rig.app->window()->focusWidget() != combo);
    }

    // The menus stand in a field's place and are as tall as the fields; a text or a switch beside a button sits on
    // its middle line, the Sign In button is as tall as the fields it closes, and the comments box keeps its least
    // height.
    void controlsLineUpWithTheFields()
    {
        Rig rig({}, m_tested);
        rig.model->setProjectOptions({"Returns"});
        rig.model->setRoutingEmployeeName("Demo Technician");
        rig.model->setLastDuplicateMessage("No duplicate found.");
        Rig::settle();
        const auto place = [&](QWidget *widget) { return QRect(widget->mapTo(rig.page, QPoint()), widget->size()); };
        const auto at = [&](const char *name) { return place(rig.find<QWidget>(name)); };
        const QRect field = place(rig.edit("korvaneCredentialField")->parentWidget());
        const auto onMiddleLine = [](QRect a, QRect b) { return std::abs(a.center().y() - b.center().y()) <= 1; };

        // The labels paint from their top, so they must be no taller than their text.
        for (const auto &[label, button] : {std::pair{"routingEmployeeName", "loadProjectsButton"},
                                            std::pair{"duplicateMessage", "checkDuplicateButton"}}) {
            auto *text = rig.find<PlainLabel>(label);
            QCOMPARE(text->height(), text->heightForWidth(text->width()));
            QVERIFY(onMiddleLine(place(text), at(button)));
        }
        QVERIFY(onMiddleLine(at("usePinSwitch"), field));
        // The comments box stands at the editor's least height and its padding, and may grow.
        auto *comments = rig.find<QPlainTextEdit>("commentsEditor");
        QCOMPARE(comments->parentWidget()->height(), 92 + 2 * 6);
        QCOMPARE(comments->geometry(), comments->parentWidget()->rect().marginsRemoved(QMargins(6, 6, 6, 6)));
        QCOMPARE(comments->maximumHeight(), QWIDGETSIZE_MAX);
        QCOMPARE(at("signInButton").height(), field.height());
        QCOMPARE(at("signInButton").bottom(), field.bottom());

        rig.model->setKorvaneSignedIn(true);
        Rig::settle();
        for (const char *name : {"projectMenu", "lotMenu", "categoryMenu", "resolveButton"})
            QCOMPARE(at(name).height(), field.height());
        QCOMPARE(at("resolveButton").bottom(), at("lotMenu").bottom());

        // A gateway's refusal of 20,000 characters wraps in full: nothing is cut and its card grows to hold it.
        const QString refusal = QString("Refused: the row for this unit cannot be written. ").repeated(400);
        QCOMPARE(refusal.size(), 20000);
        rig.model->setRoutingStatus(refusal);
        Rig::settle();
        auto *status = rig.find<PlainLabel>("routingStatus");
        QCOMPARE(status->text(), refusal);
        QTRY_COMPARE(status->height(), status->heightForWidth(status->width()));
        QVERIFY(status->height() > 100 * status->fontMetrics().lineSpacing());
        QVERIFY(at("destinationsCard").contains(place(status)));
    }

    // The road the README's demo walks, against the demo gateway, which is offline at first.
    void demoRoad()
    {
        QJsonObject demo = scenario("../gateway/scenarios/demo.json");
        demo.insert("GET /health", QJsonDocument::fromJson(R"([{"status": 503}, {"json": {"ok": true}}])").array());
        Rig rig(demo, m_tested);
        rig.type("empIdField", "E100");
        rig.type("korvaneUserField", "demo");
        rig.type("korvaneCredentialField", "123456");
        rig.click("usePinSwitch");
        rig.click("signInButton");
        QTRY_COMPARE(rig.find<StatusPill>("korvanePill")->text(), "Backend Offline");
        QCOMPARE(rig.find<StatusPill>("korvanePill")->color(), ThemeRole::Orange);
        QVERIFY(rig.shown("offlineNotice") && !rig.shown("signInRow") && !rig.shown("signedInBlock"));

        // Once the gateway answers again, Try Again signs in with what is still typed.
        QTRY_VERIFY(rig.enabled("tryAgainButton"));
        rig.click("tryAgainButton");
        QTRY_COMPARE(rig.text("korvaneUserStatus"), "Korvane ready: 2 lots, 2 categories.");
        QVERIFY(!rig.shown("offlineNotice"));
        rig.click("loadProjectsButton");
        QTRY_COMPARE(rig.text("routingStatus"), "Loaded 3 projects for Demo Technician.");
        rig.choose("projectMenu", "Returns");
        rig.click("checkDuplicateButton");
        QTRY_COMPARE(rig.text("duplicateMessage"), "No duplicate found.");
        rig.choose("categoryMenu", "Laptop");
        rig.click("resolveButton");
        QTRY_COMPARE(rig.text("resolveSummaryText"), "Resolved existing Korvane unit #9001. Status: matched.");
        QCOMPARE(rig.find<SymbolView>("resolveSummarySymbol")->color(), ThemeRole::Accent);
        rig.click("uploadButton");
        QTRY_COMPARE(rig.text("routingStatus"), "Upload complete: Spring Macs row 42.");

        // A resolve that did not happen shows the review symbol, though the last answer asked for no review.
        rig.choose("lotMenu", "Select lot");
        waitForTask(rig.model->resolveInKorvane());
        QTRY_COMPARE(rig.find<SymbolView>("resolveSummarySymbol")->color(), ThemeRole::Orange);
    }

private:
    InventorySnapshot m_tested;
};

QTEST_MAIN(TestUploadView)
#include "TestUploadView.moc"
