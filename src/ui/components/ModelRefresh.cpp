#include "ui/components/ModelRefresh.h"

#include <QMetaObject>

namespace wrenlow {

ModelRefresh::ModelRefresh(DashboardViewModel &model, QObject *owner,
                           std::function<void(const Fields &changed)> refresh)
    : QObject(owner)
    , m_refresh(std::move(refresh))
{
    connect(&model, &DashboardViewModel::changed, this, &ModelRefresh::request);
}

void ModelRefresh::request(DashboardViewModel::Field field)
{
    m_changed.insert(field);
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &ModelRefresh::flush, Qt::QueuedConnection);
}

void ModelRefresh::flush()
{
    if (!m_scheduled)
        return;
    m_scheduled = false;
    const Fields changed = std::exchange(m_changed, {});
    m_refresh(changed);
}

} // namespace wrenlow
