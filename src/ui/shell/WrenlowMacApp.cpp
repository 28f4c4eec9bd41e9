#include "ui/shell/WrenlowMacApp.h"

#include "ui/shell/ContentView.h"
#include "ui/theme/ThemeSetting.h"
#include "ui/theme/UiPlatform.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include "common/CommandRunner.h"
#include "workflow/DashboardViewModel.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QShowEvent>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QTimer>

namespace wrenlow {

namespace {

// Fusion with the menu's divider in the theme's tertiary colour, half strength: Fusion draws it in a fixed faint
// black, which vanishes on the dark menu.
class WrenlowStyle : public QProxyStyle
{
public:
    WrenlowStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {}

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element != CE_MenuItem || !item || item->menuItemType != QStyleOptionMenuItem::Separator ||
            !item->text.isEmpty()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const int margin = 5;
        const QRect &area = item->rect;
        painter->fillRect(QRect(area.left() + margin, area.center().y(), area.width() - 2 * margin, 1),
                          WrenlowTheme::color(ThemeRole::Subtle, WrenlowTheme::appearanceOf(item->palette), 0.5));
    }
};

// The one window. Each time its content is shown without a snapshot, it asks for a scan; a request made while
// a scan runs is ignored by the view model. The request waits for the first frame to be painted, so the
// window appears at once and its start-up work does not hold the main thread while the scan runs; a window
// that is shown but never painted still scans after a moment.
class MainWindow : public QMainWindow
{
public:
    explicit MainWindow(DashboardViewModel &model)
        : m_model(model)
    {
        setObjectName(QStringLiteral("mainWindow"));
        m_fallback.setSingleShot(true);
        m_fallback.setInterval(1000);
        connect(&m_fallback, &QTimer::timeout, this, &MainWindow::startScan);
    }

    void watchContent(QWidget *content) { content->installEventFilter(this); }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMainWindow::showEvent(event);
        if (event->spontaneous() || m_model.snapshot())
            return;
        m_startPending = true;
        m_fallback.start();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_startPending)
            QTimer::singleShot(0, this, &MainWindow::startScan);
        return QMainWindow::eventFilter(watched, event);
    }

private:
    void startScan()
    {
        if (!m_startPending)
            return;
        m_startPending = false;
        m_fallback.stop();
        if (!m_model.snapshot())
            m_model.scan();
    }

    DashboardViewModel &m_model;
    bool m_startPending = false;
    QTimer m_fallback;
};

} // namespace

WrenlowMacApp::WrenlowMacApp(std::unique_ptr<DashboardViewModel> model, QObject *parent)
    : QObject(parent)
    , m_model(model ? std::move(model) : std::make_unique<DashboardViewModel>())
    , m_theme(new ThemeSetting(this))
    , m_window(std::make_unique<MainWindow>(*m_model))
{
    applyTheme();
    m_content = new ContentView(*m_model, *m_theme, m_window.get());
    m_content->setMinimumSize(minimumWidth, minimumHeight);
    m_window->setCentralWidget(m_content);
    static_cast<MainWindow *>(m_window.get())->watchContent(m_content);
    uiplatform::prepareWindow(m_window.get());

    // Only the application's own menu: no File menu, so nothing opens a second window.
    QMenu *menu = m_window->menuBar()->addMenu(QStringLiteral("Wrenlow"));
    QAction *scan = menu->addAction(QStringLiteral("Scan This Mac"));
    scan->setObjectName(QStringLiteral("scanAction"));
    scan->setShortcut(uiplatform::scanShortcut());
    scan->setShortcutContext(Qt::ApplicationShortcut);
    connect(scan, &QAction::triggered, this, [this] { m_model->scan(); });
    menu->addSeparator();
    m_themeAction = menu->addAction(QString());
    m_themeAction->setObjectName(QStringLiteral("themeAction"));
    connect(m_themeAction, &QAction::triggered, m_theme, &ThemeSetting::toggle);
    connect(m_theme, &ThemeSetting::changed, this, &WrenlowMacApp::applyTheme);
    applyTheme();

    // Qt reports a click on the Dock icon as the application becoming active, even when it already is.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &WrenlowMacApp::applicationStateChanged);
    setKeepsRunningWhenClosed(!uiplatform::closingWindowEndsProgram());
}

WrenlowMacApp::~WrenlowMacApp() = default;

void WrenlowMacApp::setKeepsRunningWhenClosed(bool keeps)
{
    m_keepsRunningWhenClosed = keeps;
    // A closed QMainWindow is only hidden; what ends the program is Qt quitting after the last window.
    QGuiApplication::setQuitOnLastWindowClosed(!keeps);
}

void WrenlowMacApp::applicationStateChanged(Qt::ApplicationState state)
{
    if (state != Qt::ApplicationActive || !m_keepsRunningWhenClosed || !m_window->isHidden())
        return;
    // The same window with the same content: it shows again with a snapshot in place, so no scan starts.
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void WrenlowMacApp::applyTheme()
{
    QApplication::setPalette(WrenlowTheme::palette(m_theme->appearance()));
    if (m_themeAction)
        m_themeAction->setText(m_theme->isLight() ? QStringLiteral("Use Dark Mode") : QStringLiteral("Use Light Mode"));
}

void WrenlowMacApp::prepareApplication()
{
    QApplication::setStyle(new WrenlowStyle);
    QApplication::setFont(WrenlowFont::font(13));
    QApplication::setApplicationName(QStringLiteral("Wrenlow Zel Mac"));
    QApplication::setOrganizationName(QStringLiteral("Wrenlow"));
}

int WrenlowMacApp::main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    prepareApplication();
    // Running tools are ended rather than waited for when the user quits in the middle of a scan.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [] { CommandRunner::abortAll(); });
    WrenlowMacApp app;
    app.window()->show();
    return QApplication::exec();
}

} // namespace wrenlow
