#pragma once

#include "workflow/DashboardViewModel.h"

#include <QObject>
#include <QSet>

#include <functional>

namespace wrenlow {

// Turns the view model's change notifications into one refresh per event-loop turn: an operation that sets
// ten fields in a row costs the page one refresh, which receives every field changed since the last one.
// Pages update their widgets in place from it, so focus, cursors and scroll positions survive.
class ModelRefresh : public QObject
{
    Q_OBJECT
public:
    using Fields = QSet<DashboardViewModel::Field>;

    ModelRefresh(DashboardViewModel &model, QObject *owner, std::function<void(const Fields &changed)> refresh);

    // Asks for a refresh as if `field` had changed (for example when a page is first shown).
    void request(DashboardViewModel::Field field);
    // Runs a pending refresh now instead of at the next turn.
    void flush();

private:
    std::function<void(const Fields &)> m_refresh;
    Fields m_changed;
    bool m_scheduled = false;
};

} // namespace wrenlow
