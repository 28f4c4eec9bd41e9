#pragma once

#include <QWidget>

namespace wrenlow {

class DashboardViewModel;

// The Tests page.
class TestsView : public QWidget
{
    Q_OBJECT
public:
    explicit TestsView(DashboardViewModel &model, QWidget *parent = nullptr);

private:
    [[maybe_unused]] DashboardViewModel &m_model;
};

} // namespace wrenlow
