#include "workflow/DashboardViewModel.h"

#include "workflow/WorkflowServices.h"

#include <QMetaProperty>

namespace wrenlow {

static_assert(DashboardViewModel::fieldCount == int(DashboardViewModel::Field::isKorvaneBusy) + 1);

DashboardViewModel::DashboardViewModel(QObject *parent)
    : DashboardViewModel(WorkflowServices::production(), parent)
{}

DashboardViewModel::DashboardViewModel(WorkflowServices services, QObject *parent)
    : QObject(parent)
    , m_statusText(QStringLiteral("Ready"))
    , m_duplicateAction(QStringLiteral("skip"))
    , m_routingStatus(QStringLiteral("Enter an EMP ID to load projects."))
    , m_pendingCount(services.pending.count())
    , m_korvaneStatus(QStringLiteral("Korvane is not signed in."))
    , m_services(std::make_unique<WorkflowServices>(std::move(services)))
{}

DashboardViewModel::~DashboardViewModel() = default;

QString DashboardViewModel::fieldName(Field field)
{
    const QMetaObject &meta = staticMetaObject;
    return QString::fromLatin1(meta.property(meta.propertyOffset() + int(field)).name());
}

std::optional<DashboardViewModel::Field> DashboardViewModel::fieldFromName(const QString &name)
{
    for (int index = 0; index < fieldCount; ++index) {
        if (fieldName(Field(index)) == name)
            return Field(index);
    }
    return std::nullopt;
}

} // namespace wrenlow
