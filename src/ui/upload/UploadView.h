#pragma once

#include <QWidget>

namespace wrenlow {

class BackendSessionCard;
class DashboardViewModel;
class DestinationsCard;
class RoutingCard;
class StatusPill;

// The Upload page: one vertical scroll of the header card with its two state pills, the technician and
// routing card beside the destinations card, and the backend session card. It holds no workflow state: every
// control reads or writes the view model, and the page refreshes in place whenever the model announces a
// change.
class UploadView : public QWidget
{
    Q_OBJECT
public:
    explicit UploadView(DashboardViewModel &model, QWidget *parent = nullptr);

private:
    QWidget *makeHeader();
    void refresh();

    DashboardViewModel &m_model;
    StatusPill *m_testsPill = nullptr;
    StatusPill *m_sheetsPill = nullptr;
    RoutingCard *m_routing = nullptr;
    DestinationsCard *m_destinations = nullptr;
    BackendSessionCard *m_backend = nullptr;
};

} // namespace wrenlow
