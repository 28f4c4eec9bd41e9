#pragma once

#include <QWidget>

namespace wrenlow {

class DashboardViewModel;

// The Overview page.
class OverviewView : public QWidget
{
    Q_OBJECT
public:
    explicit OverviewView(DashboardViewModel &model, QWidget *parent = nullptr);

private:
    [[maybe_unused]] DashboardViewModel &m_model;
};

} // namespace wrenlow
