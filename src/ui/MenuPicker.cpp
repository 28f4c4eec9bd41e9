#include "ui/MenuPicker.h"

#include "ui/FieldFrame.h"
#include "ui/LabeledField.h"
#include "ui/WrenlowFont.h"
#include "ui/WrenlowTheme.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace wrenlow {

namespace {

constexpr int padding = 11;
constexpr int chevronWidth = 8;

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
    // A plain list rather than the style's menu look, so that it takes the palette's field and selection colours.
    setItemDelegate(new QStyledItemDelegate(this));
}

QSize MenuPicker::sizeHint() const
{
    return {QComboBox::sizeHint().width() + 2 * padding, LabeledField::boxHeight};
}

QSize MenuPicker::minimumSizeHint() const
{
    return {QComboBox::minimumSizeHint().width() + 2 * padding, LabeledField::boxHeight};
}

void MenuPicker::showPopup()
{
    // The list is its own window and does not follow the field's palette; it takes the appearance's at opening.
    QPalette palette = WrenlowTheme::palette(WrenlowTheme::appearanceOf(this));
    palette.setColor(QPalette::Highlight, WrenlowTheme::color(ThemeRole::Accent2, this));
    view()->setPalette(palette);
    view()->setFont(font());
    QComboBox::showPopup();
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
