#include "ui/shell/SidebarView.h"

#include "ui/components/CrossFade.h"
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/UiPlatform.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include "workflow/DashboardViewModel.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace wrenlow {

// One page of the sidebar's list: its symbol and title, highlighted while it is the selected page.
class SidebarRow : public QAbstractButton
{
public:
    SidebarRow(AppPage page, QWidget *parent)
        : QAbstractButton(parent)
        , m_page(page)
    {
        setObjectName(QStringLiteral("sidebarRow-") + rawValue(page));
        setText(rawValue(page));
        setFont(WrenlowFont::font(13, QFont::DemiBold));
        setFixedHeight(42);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
    }

    void setSelected(bool selected)
    {
        if (selected == m_selected)
            return;
        m_selected = selected;
        update();
    }
    bool isSelected() const { return m_selected; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Appearance appearance = WrenlowTheme::appearanceOf(this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (m_selected) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
            painter.fillPath(shape, WrenlowTheme::color(ThemeRole::Selection, appearance));
            painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Accent, appearance, 0.32), 1));
            painter.drawPath(shape);
        }
        const QColor colour = WrenlowTheme::color(m_selected ? ThemeRole::Primary : ThemeRole::Muted, appearance);
        // The symbol sits centred in a 20-wide frame, 13 from the left edge; the title follows 12 later.
        IconProvider::paint(painter, QRectF(13 + 3, (height() - 14) / 2.0, 14, 14), symbolName(m_page), colour);
        painter.setPen(colour);
        painter.setFont(font());
        painter.drawText(QRect(13 + 20 + 12, 0, width() - 45 - 13, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

private:
    AppPage m_page;
    bool m_selected = false;
};

// The footer's scan light: yellow while a scan runs, green otherwise.
class StatusDot : public QWidget
{
public:
    explicit StatusDot(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("footerDot"));
        setFixedSize(7, 7);
    }

    void setScanning(bool scanning)
    {
        if (scanning == m_scanning)
            return;
        m_scanning = scanning;
        update();
    }
    ThemeRole color() const { return m_scanning ? ThemeRole::Yellow : ThemeRole::Green; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(WrenlowTheme::color(color(), this));
        painter.drawEllipse(QRectF(rect()));
    }

private:
    bool m_scanning = false;
};

namespace {

// The brand's tile: an accent gradient with the tools symbol in white.
class BrandTile : public QWidget
{
public:
    explicit BrandTile(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(40, 40);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(QPointF(0, 0), QPointF(width(), height()));
        gradient.setColorAt(0, WrenlowTheme::color(ThemeRole::Accent, this));
        gradient.setColorAt(1, WrenlowTheme::color(ThemeRole::Accent2, this));
        QPainterPath tile;
        tile.addRoundedRect(QRectF(rect()), 12, 12);
        painter.fillPath(tile, gradient);
        IconProvider::paint(painter, QRectF(11, 11, 18, 18), QStringLiteral("wrench.and.screwdriver.fill"),
                            WrenlowTheme::color(ThemeRole::White, this));
    }
};

} // namespace

SidebarView::SidebarView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("sidebar"));
    setFixedWidth(width);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeBrand());

    auto *list = new QVBoxLayout;
    list->setContentsMargins(11, 0, 11, 0);
    list->setSpacing(7);
    for (const AppPage page : allAppPages()) {
        auto *row = new SidebarRow(page, this);
        connect(row, &QAbstractButton::clicked, this, [this, page] {
            // The window's picture fades out over the change: the highlight passes from row to row and the new
            // page fades in.
            if (page != m_model.selectedPage())
                CrossFade::start(window(), pageChangeDuration, QEasingCurve::OutQuad);
            m_model.setSelectedPage(page);
        });
        m_rows[page] = row;
        list->addWidget(row);
    }
    layout->addLayout(list);
    layout->addStretch(1);
    layout->addWidget(makeFooter());
    refresh();
}

QWidget *SidebarView::makeBrand()
{
    auto *brand = new QWidget(this);
    auto *row = new QHBoxLayout(brand);
    // Where the window's buttons stand in the content (macOS), the brand keeps below them.
    row->setContentsMargins(18, uiplatform::titleBarInset() + 20, 18, 25);
    row->setSpacing(11);
    row->addWidget(new BrandTile(brand));
    auto *titles = new QVBoxLayout;
    titles->setSpacing(1);
    titles->addWidget(makeLabel(QStringLiteral("Wrenlow"), WrenlowFont::font(17, QFont::Bold, FontDesign::Rounded),
                                ThemeRole::Primary, brand));
    titles->addWidget(
        makeLabel(QStringLiteral("macOS Edition"), WrenlowFont::font(11, QFont::Medium), ThemeRole::Muted, brand));
    row->addLayout(titles);
    row->addStretch(1);
    return brand;
}

QWidget *SidebarView::makeFooter()
{
    auto *footer = new QWidget(this);
    auto *column = new QVBoxLayout(footer);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(8);

    auto *statusRow = new QHBoxLayout;
    statusRow->setSpacing(7);
    m_dot = new StatusDot(footer);
    m_status = new PlainLabel(footer);
    m_status->setObjectName(QStringLiteral("footerStatus"));
    m_status->setFont(WrenlowFont::font(10, QFont::Medium));
    m_status->setLineLimit(2);
    m_status->setWholeTextInToolTip(true);
    WrenlowTheme::setForeground(m_status, ThemeRole::Muted);
    statusRow->addWidget(m_dot, 0, Qt::AlignVCenter);
    statusRow->addWidget(m_status, 1);
    column->addLayout(statusRow);

    column->addWidget(makeLabel(QStringLiteral("UNIVERSAL 2  \u2022  ARM64 + INTEL"),
                                WrenlowFont::font(9, QFont::Bold, FontDesign::Rounded, 0.6), ThemeRole::Accent, footer,
                                0.85));
    return footer;
}

void SidebarView::refresh()
{
    for (const auto &[page, row] : m_rows)
        row->setSelected(page == m_model.selectedPage());
    m_dot->setScanning(m_model.isScanning());
    // A warning cut at the second line keeps its cause in the tooltip.
    m_status->setOutsideText(m_model.statusText());
}

void SidebarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), WrenlowTheme::color(ThemeRole::Sidebar, this));
}

} // namespace wrenlow
