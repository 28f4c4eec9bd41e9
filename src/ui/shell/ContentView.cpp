#include "ui/shell/ContentView.h"

#include "ui/components/Hairline.h"
#include "ui/components/ModelRefresh.h"
#include "ui/devicetests/TestsView.h"
#include "ui/overview/OverviewView.h"
#include "ui/shell/SidebarView.h"
#include "ui/shell/TopBar.h"
#include "ui/theme/WrenlowTheme.h"
#include "ui/upload/UploadView.h"

#include "workflow/DashboardViewModel.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace wrenlow {

ContentView::ContentView(DashboardViewModel &model, ThemeSetting &theme, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_sidebar(new SidebarView(model, this))
    , m_topBar(new TopBar(model, theme, this))
    , m_pages(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("contentView"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_sidebar);
    row->addWidget(new Hairline(Qt::Vertical, this));
    auto *column = new QVBoxLayout;
    column->setSpacing(0);
    column->addWidget(m_topBar);
    column->addWidget(m_pages, 1);
    row->addLayout(column, 1);

    m_pages->setObjectName(QStringLiteral("pageStack"));
    // Every page is made once and kept, so switching pages keeps each page's scroll position and cursor.
    m_pageWidgets[AppPage::Overview] = new OverviewView(model, m_pages);
    m_pageWidgets[AppPage::Tests] = new TestsView(model, m_pages);
    m_pageWidgets[AppPage::Upload] = new UploadView(model, m_pages);
    for (const AppPage page : allAppPages())
        m_pages->addWidget(m_pageWidgets.at(page));

    new ModelRefresh(model, this, [this](const ModelRefresh::Fields &changed) {
        using Field = DashboardViewModel::Field;
        for (const Field field : {Field::selectedPage, Field::snapshot, Field::isScanning, Field::statusText}) {
            if (changed.contains(field)) {
                refresh();
                return;
            }
        }
    });
    refresh();
}

QWidget *ContentView::page(AppPage page) const
{
    return m_pageWidgets.at(page);
}

void ContentView::refresh()
{
    m_sidebar->refresh();
    m_topBar->refresh();
    m_pages->setCurrentWidget(m_pageWidgets.at(m_model.selectedPage()));
}

void ContentView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QPixmap &background = m_background.pixmap(size(), WrenlowTheme::appearanceOf(this), devicePixelRatioF());
    for (const QRect &area : event->region())
        painter.drawPixmap(area, background,
                           QRectF(QPointF(area.topLeft()) * background.devicePixelRatio(),
                                  QSizeF(area.size()) * background.devicePixelRatio())
                               .toRect());
}

} // namespace wrenlow
