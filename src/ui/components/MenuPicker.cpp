#include "ui/components/MenuPicker.h"

#include "ui/components/FieldFrame.h"
#include "ui/components/LabeledField.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace wrenlow {

namespace {

constexpr int padding = 11;
constexpr int chevronWidth = 8;
constexpr int rowHeight = 24;
// The list's rows stand this far inside the panel, so that a tinted row keeps clear of its rounded outline.
constexpr int panelInset = 4;
constexpr qreal rowRadius = 6;

// One entry of the open list, its text where the closed field shows it. The row under the pointer or the keyboard
// takes the accent's tint, the chosen one a fainter wash of it, as the segmented picker marks its segments.
class MenuRowDelegate : public QStyledItemDelegate
{
public:
    explicit MenuRowDelegate(MenuPicker *picker)
        : QStyledItemDelegate(picker)
        , m_picker(picker)
    {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 2 * padding, rowHeight};
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const Appearance appearance = WrenlowTheme::appearanceOf(m_picker);
        const bool pointed = option.state.testAnyFlags(QStyle::State_Selected | QStyle::State_MouseOver);
        const bool chosen = index.row() == m_picker->currentIndex();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (pointed || chosen) {
            QPainterPath row;
            row.addRoundedRect(QRectF(option.rect).adjusted(panelInset, 1, -panelInset, -1), rowRadius, rowRadius);
            painter->fillPath(row, WrenlowTheme::color(ThemeRole::Accent2, appearance, pointed ? 0.2 : 0.1));
        }
        const QRect textRect = option.rect.adjusted(padding, 0, -padding, 0);
        painter->setFont(option.font);
        painter->setPen(WrenlowTheme::color(ThemeRole::Primary, appearance));
        painter->drawText(
            textRect, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textRect.width()));
        painter->restore();
    }

private:
    const MenuPicker *m_picker;
};

} // namespace

MenuPicker::MenuPicker(QWidget *parent)
    : QComboBox(parent)
{
    setFont(WrenlowFont::font(12));
    setFixedHeight(LabeledField::boxHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // A long name from the gateway must not widen the card.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    setCursor(Qt::PointingHandCursor);
    // A wheel that only passes over the menu on its way down the page must not take the focus either.
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new MenuRowDelegate(this));

    // The list's window is painted here as the field's box.
    view()->parentWidget()->installEventFilter(this);
    view()->viewport()->setAutoFillBackground(false);
}

QSize MenuPicker::sizeHint() const
{
    return {QComboBox::sizeHint().width() + 2 * padding, LabeledField::boxHeight};
}

QSize MenuPicker::minimumSizeHint() const
{
    return {QComboBox::minimumSizeHint().width() + 2 * padding, LabeledField::boxHeight};
}

void MenuPicker::wheelEvent(QWheelEvent *event)
{
    // Left to the enclosing scroll area. The open list is a window of its own and scrolls by itself.
    event->ignore();
}

void MenuPicker::showPopup()
{
    // The list is its own window and does not follow the field's palette; it takes the appearance's at opening.
    view()->setPalette(WrenlowTheme::palette(WrenlowTheme::appearanceOf(this)));
    view()->setFont(font());
    // A change of style gives the panel its frame and margins back; it draws its own outline, its rows inside it.
    auto *panel = static_cast<QFrame *>(view()->parentWidget());
    panel->setFrameShape(QFrame::NoFrame);
    panel->setContentsMargins(0, panelInset, 0, panelInset);
    QComboBox::showPopup();
}

bool MenuPicker::eventFilter(QObject *watched, QEvent *event)
{
    auto *panel = view()->parentWidget();
    if (watched != panel)
        return QComboBox::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) {
        // A window is square; its corners outside the box are cut away, the outline's pixels kept.
        QPainterPath outside;
        outside.addRoundedRect(QRectF(QPoint(), panel->size()), FieldFrame::cornerRadius, FieldFrame::cornerRadius);
        panel->setMask(QRegion(outside.toFillPolygon().toPolygon()));
    } else if (event->type() == QEvent::Paint) {
        // The box's fill is translucent, made to lie on a card; a window of its own gives it the page's ground.
        const Appearance appearance = WrenlowTheme::appearanceOf(this);
        QPainter painter(panel);
        painter.fillRect(panel->rect(), WrenlowTheme::color(ThemeRole::BackgroundB, appearance));
        FieldFrame::paintBox(painter, panel->rect(), appearance);
        return true;
    }
    return false;
}

void MenuPicker::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    FieldFrame::paintBox(painter, rect(), appearance, hasFocus() ? ThemeRole::Accent2 : ThemeRole::Line);

    // Up and down chevrons, as a pop-up menu shows where its list opens over the field.
    const QPointF centre(width() - padding - chevronWidth / 2.0, QWidget::height() / 2.0);
    const qreal half = chevronWidth / 2.0;
    painter.setPen(
        QPen(WrenlowTheme::color(ThemeRole::Muted, appearance), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(
        QPolygonF{centre + QPointF(-half, -2), centre + QPointF(0, -2 - half), centre + QPointF(half, -2)});
    painter.drawPolyline(
        QPolygonF{centre + QPointF(-half, 2), centre + QPointF(0, 2 + half), centre + QPointF(half, 2)});

    const QRect textRect(padding, 0, width() - 3 * padding - chevronWidth, QWidget::height());
    painter.setFont(font());
    painter.setPen(WrenlowTheme::color(ThemeRole::Primary, appearance));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

} // namespace wrenlow
