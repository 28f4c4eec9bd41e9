#pragma once

#include <QObject>

#include <memory>

class QAction;
class QMainWindow;

namespace wrenlow {

class ContentView;
class DashboardViewModel;
class ThemeSetting;

// The top of the program: the one view model for the life of the process, the persisted theme, the one
// window with its content, and the application's menu with the scan and theme commands. Showing the window
// scans once when no snapshot exists yet.
class WrenlowMacApp : public QObject
{
    Q_OBJECT
public:
    // The product's model unless one is handed in (tests pass one working through stand-ins).
    explicit WrenlowMacApp(std::unique_ptr<DashboardViewModel> model = nullptr, QObject *parent = nullptr);
    ~WrenlowMacApp() override;

    // The program: sets up the application, shows the window and runs until the user quits.
    static int main(int argc, char *argv[]);
    // Style, palette and fonts of a QApplication that shows this window.
    static void prepareApplication();

    // Whether closing the window leaves the program running with its work, to show the window again as it was
    // when the application is activated (a click on its Dock icon): macOS's way, set from the platform at start.
    // Otherwise closing the window ends the program.
    void setKeepsRunningWhenClosed(bool keeps);

    QMainWindow *window() const { return m_window.get(); }
    ContentView *content() const { return m_content; }
    DashboardViewModel &model() const { return *m_model; }
    ThemeSetting &theme() const { return *m_theme; }

    static constexpr int minimumWidth = 1180;
    static constexpr int minimumHeight = 720;

private:
    void applyTheme();
    void applicationStateChanged(Qt::ApplicationState state);

    std::unique_ptr<DashboardViewModel> m_model;
    ThemeSetting *m_theme;
    std::unique_ptr<QMainWindow> m_window;
    ContentView *m_content;
    QAction *m_themeAction = nullptr;
    bool m_keepsRunningWhenClosed = false;
};

} // namespace wrenlow
