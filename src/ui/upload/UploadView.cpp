#include "ui/upload/UploadView.h"

#include "ui/components/GlassCard.h"
#include "ui/components/ModelRefresh.h"
#include "ui/components/StatusPill.h"
#include "ui/upload/BackendSessionCard.h"
#include "ui/upload/DestinationsCard.h"
#include "ui/upload/RoutingCard.h"
#include "ui/upload/UploadParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace wrenlow {

UploadView::UploadView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("uploadPage"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("uploadScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The window's background shows through the page.
    scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(scroll);

    auto *content = new QWidget(scroll);
    content->setAutoFillBackground(false);
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(18);
    stack->addWidget(new GlassCard(makeHeader(), content));

    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    m_routing = new RoutingCard(model, content);
    m_destinations = new DestinationsCard(model, content);
    row->addWidget(new GlassCard(m_routing, content), 1, Qt::AlignTop);
    row->addWidget(new GlassCard(m_destinations, content), 1, Qt::AlignTop);
    stack->addLayout(row);

    m_backend = new BackendSessionCard(model, content);
    stack->addWidget(new GlassCard(m_backend, content));
    stack->addStretch();
    scroll->setWidget(content);

    // Every card reads several fields; refreshing all of them once per turn is cheaper than sorting out which.
    new ModelRefresh(model, this, [this](const ModelRefresh::Fields &) { refresh(); });
    refresh();
}

QWidget *UploadView::makeHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(5);
    texts->addWidget(upload::makeText(QStringLiteral("Upload Results"), 22, QFont::Bold, FontDesign::Rounded,
                                      ThemeRole::Primary, header));
    texts->addWidget(upload::makeWrappedText(QStringLiteral("The macOS client now uses the Zel project-routing, "
                                                            "duplicate-check, and offline-queue flow."),
                                             12, ThemeRole::Muted, header));
    row->addLayout(texts, 1);
    row->addStretch();

    auto *pills = new QVBoxLayout;
    pills->setSpacing(6);
    m_testsPill = new StatusPill(QString(), ThemeRole::Orange, header);
    m_testsPill->setObjectName(QStringLiteral("testsPill"));
    m_sheetsPill = new StatusPill(QString(), ThemeRole::Orange, header);
    m_sheetsPill->setObjectName(QStringLiteral("sheetsPill"));
    pills->addWidget(m_testsPill, 0, Qt::AlignRight);
    pills->addWidget(m_sheetsPill, 0, Qt::AlignRight);
    row->addLayout(pills);
    return header;
}

void UploadView::refresh()
{
    const bool complete = m_model.canUpload();
    m_testsPill->setText(complete ? QStringLiteral("Tests complete") : QStringLiteral("Testing incomplete"));
    m_testsPill->setColor(complete ? ThemeRole::Green : ThemeRole::Orange);
    const bool sheets = m_model.sheetsConfigured();
    m_sheetsPill->setText(sheets ? QStringLiteral("Sheets Session Ready") : QStringLiteral("Sign In for Sheets"));
    m_sheetsPill->setColor(sheets ? ThemeRole::Accent : ThemeRole::Orange);

    m_routing->refresh();
    m_destinations->refresh();
    m_backend->refresh();
}

} // namespace wrenlow
