#pragma once

#include "workflow/AppPage.h"

#include <QWidget>

#include <chrono>
#include <map>

namespace wrenlow {

class DashboardViewModel;
class PlainLabel;
class SidebarRow;
class StatusDot;

// The window's left column: the brand, one row per page (pressing one selects that page in the view model),
// and a footer with the scan status.
class SidebarView : public QWidget
{
    Q_OBJECT
public:
    explicit SidebarView(DashboardViewModel &model, QWidget *parent = nullptr);

    // Shows the model's selected page, scanning flag and status text.
    void refresh();

    static constexpr int width = 224;
    // Pressing a row eases the window out of the old page over this time.
    static constexpr std::chrono::milliseconds pageChangeDuration{160};

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makeBrand();
    QWidget *makeFooter();

    DashboardViewModel &m_model;
    std::map<AppPage, SidebarRow *> m_rows;
    StatusDot *m_dot = nullptr;
    PlainLabel *m_status = nullptr;
};

} // namespace wrenlow
