#include "ui/OverviewView.h"

#include "ui/GlassCard.h"

#include <QVBoxLayout>

namespace wrenlow {

OverviewView::OverviewView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("overviewPage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(new GlassCard(nullptr, this));
    layout->addStretch();
}

} // namespace wrenlow
