// The real window, driven by object name: the theme commands, then one road through the start scan, the scan
// shortcut, the identity block, the page switch and the minimum size, and the eased page and theme changes.
#include "ui/components/CrossFade.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/TopBar.h"
#include "ui/shell/WrenlowMacApp.h"
#include "ui/theme/ThemeSetting.h"
#include "ui/theme/WrenlowTheme.h"

#include "FakeMacEnvironment.h"
#include "workflow/DashboardViewModel.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

namespace {

template <typename T> T *find(const WrenlowMacApp &app, const char *name)
{
    T *widget = app.window()->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

} // namespace

class TestWrenlowWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Settings and reports of this run stay in temporary folders.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        WrenlowMacApp::prepareApplication();
    }

    void cleanup() { QFile::remove(settingsFile()); }

    void themeCommandsShareOneSetting_data()
    {
        QTest::addColumn<QString>("stored"); // "-" stores nothing
        QTest::addColumn<QString>("way");    // menu, click (the toggle) or Space (the toggle, focused)
        QTest::addColumn<bool>("startsLight");
        // clang-format off
        QTest::newRow("first launch, menu") << "-" << "menu" << true;
        QTest::newRow("dark, toggle") << "dark" << "click" << false;
        QTest::newRow("light, toggle by Space") << "light" << "Space" << true;
        QTest::newRow("unknown value means dark, menu") << "" << "menu" << false;
        // clang-format on
    }

    void themeCommandsShareOneSetting()
    {
        QFETCH(QString, stored);
        QFETCH(QString, way);
        QFETCH(bool, startsLight);
        if (stored != "-") {
            QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Wrenlow", "Wrenlow Zel Mac");
            settings.setValue(ThemeSetting::key, stored);
        }
        test::FakeMacEnvironment environment("apple-silicon-macbook");
        WrenlowMacApp app;
        auto *menuItem = find<QAction>(app, "themeAction");
        auto *toggle = find<ThemeToggle>(app, "themeToggle");
        QLineEdit stockControl;

        const auto expectLook = [&](bool light) {
            QCOMPARE(menuItem->text(), light ? "Use Dark Mode" : "Use Light Mode");
            QCOMPARE(toggle->text(), light ? "DARK" : "LIGHT");
            QCOMPARE(toggle->symbol(), light ? "moon.fill" : "sun.max.fill");
            // Assistive tools see a button named by its label.
            QAccessibleInterface *button = QAccessible::queryAccessibleInterface(toggle);
            QCOMPARE(button->role(), QAccessible::Button);
            QCOMPARE(button->text(QAccessible::Name), toggle->text());
            const Appearance appearance = light ? Appearance::Light : Appearance::Dark;
            QTRY_COMPARE(stockControl.palette().color(QPalette::Base),
                         WrenlowTheme::palette(appearance).color(QPalette::Base));
            QTRY_COMPARE(WrenlowTheme::appearanceOf(app.content()), appearance);
        };
        expectLook(startsLight);

        const auto switchTheme = [&](const QString &how) {
            if (how == "menu") {
                menuItem->trigger();
            } else if (how == "click") {
                QTest::mouseClick(toggle, Qt::LeftButton);
            } else {
                app.window()->show(); // which starts the first scan: left to end before the window goes
                QVERIFY(QTest::qWaitForWindowActive(app.window()));
                QTRY_VERIFY(app.model().snapshot().has_value());
                toggle->setFocus(Qt::TabFocusReason);
                QTRY_VERIFY(toggle->hasFocus());
                QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Space); // to the focused widget
            }
        };
        switchTheme(way);
        expectLook(!startsLight);
        QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value("wrenlow-theme"),
                 startsLight ? "dark" : "light");

        // The other place switches back: both read the one stored value.
        switchTheme(way == "menu" ? "click" : "menu");
        expectLook(startsLight);
    }

    // The start scan, the scan shortcut, the identity block, the page switch and the minimum size on one window.
    void windowRoad()
    {
        // The stand-in MacBook answers in a few milliseconds; a slow system_profiler keeps the scan running long
        // enough to see the busy button and press the shortcut.
        QTemporaryDir scenario;
        const QString source = test::FakeMacEnvironment::fakeMacRoot() + "/scenarios/apple-silicon-macbook";
        for (const QString &name : QDir(source).entryList(QDir::Files))
            QVERIFY(QFile::copy(source + '/' + name, scenario.filePath(name)));
        QFile delay(scenario.filePath("system_profiler.delay"));
        QVERIFY(delay.open(QIODevice::WriteOnly) && delay.write("2") == 1);
        delay.close();
        test::FakeMacEnvironment environment(scenario.path());
        WrenlowMacApp app;
        QSignalSpy scans(&app.model(), &DashboardViewModel::scanPulseChanged);
        QSignalSpy shortcuts(find<QAction>(app, "scanAction"), &QAction::triggered);
        auto *title = find<QLabel>(app, "topBarTitle");
        auto *serial = find<QLabel>(app, "topBarSerial");
        auto *architecture = find<QLabel>(app, "topBarArchitecture");
        auto *scan = find<TintedButton>(app, "scanButton");
        auto *stack = find<QStackedWidget>(app, "pageStack");
        QCOMPARE(title->text(), "Mac");
        QCOMPARE(serial->text(), "Waiting for scan");
        QVERIFY(!architecture->isVisibleTo(app.window()));
        QVERIFY(!find<StatusPill>(app, "osVersionPill")->isVisibleTo(app.window()));
        QCOMPARE(stack->currentWidget()->objectName(), "overviewPage");

        app.window()->show();
        QTRY_VERIFY(scan->isBusy());
        QCOMPARE(scan->text(), "Scanning");
        QVERIFY(!scan->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(app.window()));
        QTest::keyClick(app.window(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(shortcuts.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(app.model().snapshot().has_value() && scan->isEnabled(), 20000);
        QCOMPARE(scan->text(), "Scan Mac");
        QCOMPARE(title->text(), app.model().snapshot()->model);
        QCOMPARE(serial->text(), app.model().snapshot()->serial);
        QCOMPARE(find<StatusPill>(app, "osVersionPill")->text(), app.model().snapshot()->osVersion);
        QTRY_COMPARE(find<QLabel>(app, "footerStatus")->text(), app.model().statusText());
        QCOMPARE(title->textFormat(), Qt::PlainText);
        // Only "arm64" exactly is Apple silicon.
        QVERIFY(architecture->isVisibleTo(app.window()));
        QCOMPARE(architecture->text(), "APPLE SILICON");
        for (const auto &[reported, shown] :
             {std::pair{"x86_64", "INTEL"}, {"arm64", "APPLE SILICON"}, {"ARM64", "INTEL"}}) {
            InventorySnapshot snapshot = *app.model().snapshot();
            snapshot.architecture = reported;
            app.model().setSnapshot(snapshot);
            QTRY_COMPARE(architecture->text(), shown);
        }

        QTest::mouseClick(find<QWidget>(app, "sidebarRow-Tests"), Qt::LeftButton);
        QCOMPARE(app.model().selectedPage(), AppPage::Tests);
        QTRY_COMPARE(stack->currentWidget()->objectName(), "testsPage");
        app.model().setSelectedPage(AppPage::Upload);
        QTRY_COMPARE(stack->currentWidget()->objectName(), "uploadPage");
        app.window()->resize(640, 400);
        QTRY_VERIFY(app.content()->width() >= 1180);
        QVERIFY(app.content()->height() >= 720);

        // Closing the window ends the program here; on a Mac it hides the window and the program keeps its work.
        // A click on the Dock icon (the application reported active, even when it is) shows the same window as it
        // was, and with a snapshot in place no scan starts; the shortcut does.
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
        app.setKeepsRunningWhenClosed(true);
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        QVERIFY(app.window()->close());
        QVERIFY(app.window()->isHidden());
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(app.window()->isHidden());
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(app.window()->isVisible());
        QCOMPARE(stack->currentWidget()->objectName(), "uploadPage");
        QCoreApplication::processEvents();
        QCOMPARE(scans.size(), 1);
        QTest::keyClick(app.window(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(scans.size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!app.model().isScanning(), 30000);
    }

    // Pressing a sidebar row or the theme toggle lays one fading picture of the old window over the new one; it
    // takes no input and ends on exactly the picture an immediate change shows. The menu's command switches at once.
    void pageAndThemeChangesEase()
    {
        test::FakeMacEnvironment environment("apple-silicon-macbook");
        WrenlowMacApp app;
        app.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(app.window()));
        QTRY_VERIFY_WITH_TIMEOUT(app.model().snapshot().has_value() && !app.model().isScanning(), 20000);
        const auto fades = [&] { return app.window()->findChildren<CrossFade *>(); };
        const auto expectFade = [&](int milliseconds, QEasingCurve::Type curve) {
            QCOMPARE(fades().size(), 1);
            const QVariantAnimation &animation = fades().constFirst()->animation();
            QCOMPARE(animation.duration(), milliseconds);
            QCOMPARE(animation.easingCurve().type(), curve);
            QCOMPARE(animation.state(), QAbstractAnimation::Running);
            QVERIFY(fades().constFirst()->testAttribute(Qt::WA_TransparentForMouseEvents));
        };
        // A fade that never ends gives a null picture, which matches no window's.
        const auto picture = [&] {
            const bool ended = QTest::qWaitFor([&] { return fades().isEmpty(); });
            QTest::qWait(20); // the palette and the page refresh land one turn later
            return ended ? app.window()->grab().toImage() : QImage();
        };

        QTest::mouseClick(find<QWidget>(app, "sidebarRow-Upload"), Qt::LeftButton);
        expectFade(160, QEasingCurve::OutQuad);
        // A second press while the first fades still switches, and replaces the fade.
        QTest::mouseClick(find<QWidget>(app, "sidebarRow-Tests"), Qt::LeftButton);
        expectFade(160, QEasingCurve::OutQuad);
        QTRY_COMPARE(find<QStackedWidget>(app, "pageStack")->currentWidget()->objectName(), "testsPage");
        const QImage eased = picture();
        app.model().setSelectedPage(AppPage::Overview);
        app.model().setSelectedPage(AppPage::Tests);
        QCOMPARE(picture(), eased);

        QTest::mouseClick(find<ThemeToggle>(app, "themeToggle"), Qt::LeftButton);
        expectFade(180, QEasingCurve::InOutQuad);
        const QImage dark = picture();
        for (int twice = 0; twice < 2; ++twice) {
            find<QAction>(app, "themeAction")->trigger();
            QVERIFY(fades().isEmpty());
        }
        QCOMPARE(picture(), dark);
    }

private:
    QString settingsFile() const { return m_config.path() + "/Wrenlow/Wrenlow Zel Mac.conf"; }

    QTemporaryDir m_config;
};

QTEST_MAIN(TestWrenlowWindow)
#include "TestWrenlowWindow.moc"
