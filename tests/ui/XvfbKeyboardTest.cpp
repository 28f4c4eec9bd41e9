#include "ui/components/StatusPill.h"
#include "ui/devicetests/KeyCap.h"
#include "ui/devicetests/KeyCaptureView.h"
#include "ui/devicetests/KeyboardTestView.h"
#include "ui/devicetests/TestsView.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/WrenlowMacApp.h"
#include "ui/theme/ThemeSetting.h"
#include "workflow/DashboardViewModel.h"

#include "FakeMacEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace wrenlow;

// The keyboard test in the application's own window under a real X server: xdotool presses real keys, so the
// codes come from X11 keycodes the way a technician's keyboard delivers them, and the window's menu shortcuts
// are live.
class XvfbKeyboardTest : public QObject
{
    Q_OBJECT

    // Found before the stand-ins' environment leaves only the macOS tools on the path.
    const QString m_xdotool = QStandardPaths::findExecutable("xdotool");

    // xdotool's own complaints reach the test's output.
    bool xdotool(const QStringList &arguments) const { return QProcess::execute(m_xdotool, arguments) == 0; }

    bool clickOn(QWidget *widget) const
    {
        const QPoint centre = widget->mapToGlobal(widget->rect().center());
        return xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!m_xdotool.isEmpty(), "xdotool is missing (tools/install-deps installs it)");
        WrenlowMacApp::prepareApplication();
    }

    void realKeysLightCapsAndSwallowShortcuts()
    {
        const test::FakeMacEnvironment mac("apple-silicon-macbook");
        WrenlowMacApp app;
        DashboardViewModel &model = app.model();
        QMainWindow *window = app.window();
        window->resize(1280, 960);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Without a window manager nothing activates a new window by itself.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // Showing the window scanned the stand-in Mac.
        QTRY_VERIFY_WITH_TIMEOUT(model.snapshot() && !model.isScanning(), 30000);
        model.setSelectedPage(AppPage::Tests);
        auto *page = app.content()->findChild<TestsView *>();
        QTRY_VERIFY(page->isVisible());
        QSignalSpy scans(&model, &DashboardViewModel::isScanningChanged);

        const auto runs = page->findChildren<QAbstractButton *>("run");
        QAbstractButton *run = *std::find_if(runs.begin(), runs.end(), [](auto *b) { return b->text() == "Run Test"; });
        QTRY_VERIFY(run->isVisible() && run->width() > 0);
        QVERIFY(clickOn(run));
        QTRY_VERIFY(page->isKeyboardTestPresented());
        auto *sheet = window->findChild<KeyboardTestView *>();
        QTRY_VERIFY(sheet->findChild<KeyCaptureView *>()->hasFocus());

        // a, a again, left Shift, Escape, Tab, Return, Ctrl+R (Control and R), Alt alone, then s: Alt must not
        // have taken the keyboard to the menu bar.
        QVERIFY(
            xdotool({"key", "--delay", "30", "a", "a", "Shift_L", "Escape", "Tab", "Return", "ctrl+r", "Alt_L", "s"}));
        QTRY_COMPARE(sheet->findChild<StatusPill *>("keyboardCounter")->text(), "9 / 64");
        QSet<quint16> lit;
        for (auto *cap : sheet->findChildren<KeyCap *>())
            if (cap->isPressed())
                lit.insert(cap->key().code);
        QCOMPARE(lit, (QSet<quint16>{0, 1, 56, 53, 48, 36, 59, 15, 58}));
        QVERIFY(page->isKeyboardTestPresented());
        QVERIFY(clickOn(sheet->findChild<QAbstractButton *>("keyboardPass")));
        QTRY_VERIFY(!page->isKeyboardTestPresented());
        QCOMPARE(model.diagnostic("keyboard")->state, DiagnosticState::Pass);
        QCOMPARE(scans.count(), 0);
    }
};

QTEST_MAIN(XvfbKeyboardTest)
#include "XvfbKeyboardTest.moc"
