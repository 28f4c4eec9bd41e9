#pragma once

#include <QWidget>

namespace wrenlow {

class DashboardViewModel;

// The Upload page.
class UploadView : public QWidget
{
    Q_OBJECT
public:
    explicit UploadView(DashboardViewModel &model, QWidget *parent = nullptr);

private:
    [[maybe_unused]] DashboardViewModel &m_model;
};

} // namespace wrenlow
