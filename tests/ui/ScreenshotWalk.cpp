// Writes every picture of the window that the README shows into the folder named on the command line; run by
// tools/update-screenshots under Xvfb. One stand-in MacBook is scanned once and walked as a technician walks it:
// Overview, Tests, the keyboard sheet, then the Upload page against the stand-in gateway, first unreachable, then
// answering. Each light and dark pair is taken in one state, and what would differ from run to run (the scan
// time, the home folder in the report path, a blinking caret) is fixed, so an unchanged tree gives the same bytes.
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/devicetests/KeyCaptureView.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/WrenlowMacApp.h"
#include "ui/theme/ThemeSetting.h"

#include "FakeMacEnvironment.h"
#include "GatewayStandIn.h"

#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include <QApplication>
#include <QComboBox>
#include <QCoroTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>

#include <cstdio>

using namespace wrenlow;
using namespace std::chrono_literals;

namespace {

// What a real scan of a MacBook takes; the stand-in's own time varies with the machine's load.
constexpr double scanSeconds = 3.4;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "update-screenshots: %s\n", what);
    std::exit(1);
}

void waitFor(const std::function<bool()> &done, const char *what)
{
    if (!QTest::qWaitFor(done, 30000))
        fail(what);
}

class Walk
{
public:
    Walk(WrenlowMacApp &app, const QDir &folder)
        : m_app(app)
        , m_folder(folder)
    {}

    DashboardViewModel &model() const { return m_app.model(); }
    QMainWindow *window() const { return m_app.window(); }

    template <typename T = QWidget> T *find(const char *name) const
    {
        auto *widget = window()->findChild<T *>(QLatin1String(name));
        if (!widget)
            fail(name);
        return widget;
    }

    void shoot(const QString &name, Appearance appearance, QSize size) const
    {
        if (m_app.theme().appearance() != appearance)
            m_app.theme().toggle();
        window()->resize(size);
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
        QTest::qWait(300); // the palette and the model's refresh arrive a turn later; then the layouts and paint
        const QString path = m_folder.filePath(name + QStringLiteral(".png"));
        if (!window()->grab().save(path))
            fail(qPrintable(path));
        std::printf("wrote %s\n", qPrintable(path));
    }

    void pair(const QString &name, QSize size) const
    {
        shoot(name + QStringLiteral("-light"), Appearance::Light, size);
        shoot(name + QStringLiteral("-dark"), Appearance::Dark, size);
    }

    void type(const char *field, const QString &text) const
    {
        QLineEdit *line = find<LabeledField>(field)->lineEdit();
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, text);
    }

    void click(const char *button) const { QTest::mouseClick(find(button), Qt::LeftButton); }

    // The way a technician picks with the keyboard, which is what makes the menu report a choice.
    void choose(const char *menu, const QString &entry) const
    {
        auto *combo = find<QComboBox>(menu);
        waitFor([&] { return combo->findText(entry) >= 0; }, qPrintable(entry));
        const int target = combo->findText(entry);
        combo->setFocus();
        while (combo->currentIndex() != target)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }

    QString text(const char *label) const { return find<PlainLabel>(label)->outsideText(); }

    // A key as X11 delivers it: the keyboard sheet reads the hardware code.
    void key(QWidget *target, quint32 x11Code, bool press) const
    {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, x11Code, 0, 0);
        QApplication::sendEvent(target, &event);
    }

private:
    WrenlowMacApp &m_app;
    QDir m_folder;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc != 2)
        fail("usage: ScreenshotWalk FOLDER");
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const test::FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
    // A home folder of a fixed name, as the Upload page shows the report's path; a fresh one, so that nothing of
    // an earlier run (a pending upload, the theme) carries over.
    QDir home(QDir::tempPath() + QStringLiteral("/wrenlow-screenshots"));
    if (!home.removeRecursively() || !home.mkpath(QStringLiteral(".config")))
        fail("cannot make the home folder");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    WrenlowMacApp::prepareApplication();

    QFile script(QStringLiteral(WRENLOW_GATEWAY_SCENARIOS "/demo.json"));
    if (!script.open(QIODevice::ReadOnly))
        fail("no demo scenario");
    const QJsonObject demo = QJsonDocument::fromJson(script.readAll()).object();
    QJsonObject unreachable = demo;
    unreachable.insert(QStringLiteral("GET /health"), QJsonDocument::fromJson(R"([{"status": 503}])").array());
    test::GatewayStandIn gateway{test::GatewayScenario(unreachable)};
    gateway.listen();

    const auto noWait = [](std::chrono::milliseconds) { return QCoro::sleepFor(0ms); };
    WrenlowMacApp app(std::make_unique<DashboardViewModel>(WorkflowServices::production(gateway.baseUrl(), noWait)));
    Walk walk(app, folder);
    DashboardViewModel &model = app.model();
    app.window()->resize(1320, 840);
    app.window()->show();
    waitFor([&] { return model.snapshot().has_value() && !model.isScanning(); }, "the stand-in scan did not end");
    InventorySnapshot scanned = *model.snapshot();
    scanned.elapsedSeconds = scanSeconds;
    model.setSnapshot(scanned);
    model.setStatusText(QStringLiteral("Scan complete in %1s").arg(scanSeconds, 0, 'f', 1));

    walk.pair(QStringLiteral("window"), {1320, 840});
    walk.pair(QStringLiteral("overview"), {1240, 1320});

    model.setSelectedPage(AppPage::Tests);
    walk.pair(QStringLiteral("tests"), {1280, 960});

    QWidget *run = nullptr;
    for (QWidget *button : app.window()->findChildren<QWidget *>(QStringLiteral("run")))
        if (button->property("text").toString() == QLatin1String("Run Test"))
            run = button;
    if (!run)
        fail("no keyboard Run Test button");
    QTest::mouseClick(run, Qt::LeftButton);
    QWidget *capture = nullptr;
    waitFor([&] { return (capture = app.window()->findChild<KeyCaptureView *>()) != nullptr; }, "no keyboard sheet");
    // a, a again, left Shift, Escape, Tab, Return, Control with R, left Alt, s (X11 key codes).
    for (const quint32 code : {38u, 38u, 50u, 9u, 23u, 36u}) {
        walk.key(capture, code, true);
        walk.key(capture, code, false);
    }
    walk.key(capture, 37, true);
    walk.key(capture, 27, true);
    walk.key(capture, 27, false);
    walk.key(capture, 37, false);
    for (const quint32 code : {64u, 39u}) {
        walk.key(capture, code, true);
        walk.key(capture, code, false);
    }
    walk.pair(QStringLiteral("keyboard"), {1280, 960});
    walk.click("keyboardPass");

    // Every other check passed, as before an upload.
    for (const DiagnosticItem &item : model.snapshot()->diagnostics)
        if (item.state == DiagnosticState::Ready)
            model.markDiagnostic(item.id, DiagnosticState::Pass);
    model.setSelectedPage(AppPage::Upload);
    const QSize upload(1280, 1240);
    walk.type("empIdField", QStringLiteral("E100"));
    walk.type("technicianField", QStringLiteral("Demo Technician"));
    walk.shoot(QStringLiteral("upload-signed-out"), Appearance::Light, upload);

    walk.type("korvaneUserField", QStringLiteral("demo"));
    walk.type("korvaneCredentialField", QStringLiteral("123456"));
    walk.click("usePinSwitch");
    walk.click("signInButton");
    waitFor([&] { return walk.find("offlineNotice")->isVisible(); }, "the gateway was not found unreachable");
    walk.shoot(QStringLiteral("upload-offline"), Appearance::Light, upload);
    walk.shoot(QStringLiteral("upload-offline-dark"), Appearance::Dark, upload);

    gateway.setScenario(test::GatewayScenario(demo));
    walk.click("tryAgainButton");
    waitFor([&] { return model.korvaneSignedIn(); }, "the sign-in failed");
    walk.click("loadProjectsButton");
    waitFor([&] { return !model.projectOptions().isEmpty() && !model.isRoutingBusy(); }, "no projects");
    walk.choose("projectMenu", QStringLiteral("Returns"));
    walk.click("checkDuplicateButton");
    waitFor([&] { return !model.lastDuplicateMessage().isEmpty() && !model.isRoutingBusy(); }, "no duplicate check");
    walk.choose("categoryMenu", QStringLiteral("Laptop"));
    walk.click("resolveButton");
    waitFor([&] { return !model.korvaneResolveSummary().isEmpty(); }, "no resolve");
    walk.shoot(QStringLiteral("upload-signed-in"), Appearance::Light, upload);
    walk.shoot(QStringLiteral("upload-signed-in-dark"), Appearance::Dark, upload);
    return 0;
}
