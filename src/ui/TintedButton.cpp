#include "ui/TintedButton.h"

#include "ui/IconProvider.h"
#include "ui/Spinner.h"
#include "ui/WrenlowFont.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace wrenlow {

TintedButton::TintedButton(const QString &text, Style style, std::optional<ThemeRole> tint, QWidget *parent)
    : QAbstractButton(parent)
    , m_style(style)
    , m_tint(tint)
    , m_spinner(new Spinner(12, style == Style::Prominent ? ThemeRole::White : tint.value_or(ThemeRole::Primary), this))
{
    setText(text);
    setFont(WrenlowFont::font(12, QFont::DemiBold));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setFixedHeight(28);
    m_spinner->hide();
}

void TintedButton::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    updateGeometry();
    update();
}

void TintedButton::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_spinner->setVisible(busy);
    placeSpinner();
    updateGeometry();
    update();
}

void TintedButton::setTint(std::optional<ThemeRole> tint)
{
    m_tint = tint;
    m_spinner->setColor(m_style == Style::Prominent ? ThemeRole::White : tint.value_or(ThemeRole::Primary));
    update();
}

void TintedButton::setHorizontalPadding(int padding)
{
    m_padding = padding;
    updateGeometry();
}

void TintedButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    updateGeometry();
}

int TintedButton::iconSize() const
{
    return font().pixelSize() > 0 ? font().pixelSize() : 12;
}

int TintedButton::labelWidth() const
{
    const bool hasIcon = m_busy || !m_symbol.isEmpty();
    const int textWidth = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text())));
    return (hasIcon ? iconSize() + (text().isEmpty() ? 0 : m_spacing) : 0) + textWidth;
}

QSize TintedButton::sizeHint() const
{
    return {labelWidth() + 2 * m_padding, height() > 0 ? height() : 28};
}

QRect TintedButton::iconRect() const
{
    const int left = (width() - labelWidth()) / 2;
    return {left, (height() - iconSize()) / 2, iconSize(), iconSize()};
}

void TintedButton::placeSpinner()
{
    m_spinner->move(iconRect().center() - QPoint(m_spinner->width() / 2, m_spinner->height() / 2) + QPoint(1, 1));
}

void TintedButton::resizeEvent(QResizeEvent *event)
{
    placeSpinner();
    QAbstractButton::resizeEvent(event);
}

void TintedButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        placeSpinner();
    }
    QAbstractButton::changeEvent(event);
}

void TintedButton::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    const bool pressed = isDown();
    const bool hovered = underMouse() && isEnabled();
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    QColor labelColour;
    if (m_style == Style::Prominent) {
        QColor fill = WrenlowTheme::color(m_tint.value_or(ThemeRole::Accent), appearance);
        fill = pressed ? fill.darker(115) : (hovered ? fill.lighter(106) : fill);
        painter.fillPath(shape, fill);
        labelColour = WrenlowTheme::color(ThemeRole::White, appearance);
    } else {
        const ThemeRole role = m_tint.value_or(ThemeRole::Primary);
        const qreal fill = m_tint ? (pressed ? 0.24 : (hovered ? 0.18 : 0.12)) : (pressed ? 0.14 : 0.08);
        painter.fillPath(shape, WrenlowTheme::color(role, appearance, fill));
        painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, appearance), 1));
        painter.drawPath(shape);
        labelColour = WrenlowTheme::color(role, appearance);
    }

    const QRect icon = iconRect();
    if (!m_busy && !m_symbol.isEmpty())
        IconProvider::paint(painter, icon, m_symbol, labelColour);
    const bool hasIcon = m_busy || !m_symbol.isEmpty();
    const int textLeft = hasIcon ? icon.right() + 1 + m_spacing : icon.left();
    painter.setPen(labelColour);
    painter.setFont(font());
    painter.drawText(QRect(textLeft, 0, width() - textLeft, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace wrenlow
