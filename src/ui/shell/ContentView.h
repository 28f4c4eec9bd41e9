#pragma once

#include "ui/shell/WindowBackground.h"

#include <QWidget>

#include <map>

class QStackedWidget;

namespace wrenlow {

class DashboardViewModel;
class ModelRefresh;
class SidebarView;
class ThemeSetting;
class TopBar;
enum class AppPage;

// The content of the one window: the background, the sidebar, and to its right the top bar above the selected
// page. It follows the view model in place, at most once per event-loop turn, and writes only the selected
// page, the theme setting, and scan requests.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    ContentView(DashboardViewModel &model, ThemeSetting &theme, QWidget *parent = nullptr);

    QWidget *page(AppPage page) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    DashboardViewModel &m_model;
    SidebarView *m_sidebar;
    TopBar *m_topBar;
    QStackedWidget *m_pages;
    std::map<AppPage, QWidget *> m_pageWidgets;
    WindowBackground m_background;
};

} // namespace wrenlow
