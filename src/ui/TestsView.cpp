#include "ui/TestsView.h"

#include "ui/GlassCard.h"

#include <QVBoxLayout>

namespace wrenlow {

TestsView::TestsView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("testsPage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(new GlassCard(nullptr, this));
    layout->addStretch();
}

} // namespace wrenlow
