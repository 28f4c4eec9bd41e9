#include "TintedButton.h"

#include "ui/WrenlowFont.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace wrenlow {

namespace {

struct Metrics
{
    int fontSize;
    int height;
    int padding;
    qreal radius;
};

Metrics metricsOf(TintedButton::Size size)
{
    return size == TintedButton::Size::Small ? Metrics{11, 22, 9, 5} : Metrics{13, 28, 14, 6};
}

} // namespace

TintedButton::TintedButton(const QString &text, std::optional<ThemeRole> tint, Style style, Size size, QWidget *parent)
    : QPushButton(text, parent)
    , m_tint(tint)
    , m_style(style)
    , m_size(size)
{
    setFont(WrenlowFont::font(metricsOf(size).fontSize, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

QSize TintedButton::sizeHint() const
{
    const Metrics metrics = metricsOf(m_size);
    const qreal width = QFontMetricsF(font()).horizontalAdvance(text());
    return {int(std::ceil(width)) + 2 * metrics.padding, metrics.height};
}

void TintedButton::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    const Metrics metrics = metricsOf(m_size);
    const bool down = isDown();
    const bool hovered = underMouse() && isEnabled();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), metrics.radius, metrics.radius);

    QColor text;
    if (m_style == Style::Prominent) {
        const ThemeRole tint = m_tint.value_or(ThemeRole::Accent);
        QColor fill = WrenlowTheme::color(tint, appearance);
        fill = down ? fill.darker(115) : hovered ? fill.lighter(106) : fill;
        painter.fillPath(shape, fill);
        text = WrenlowTheme::color(ThemeRole::White, appearance);
    } else {
        const ThemeRole tint = m_tint.value_or(ThemeRole::Primary);
        const qreal fill = m_tint ? (down ? 0.3 : hovered ? 0.2 : 0.14) : (down ? 0.16 : hovered ? 0.11 : 0.07);
        painter.fillPath(shape, WrenlowTheme::color(tint, appearance, fill));
        painter.setPen(QPen(m_tint ? WrenlowTheme::color(tint, appearance, 0.35)
                                   : WrenlowTheme::color(ThemeRole::Line, appearance),
                            1));
        painter.drawPath(shape);
        text = WrenlowTheme::color(tint, appearance);
    }
    if (hasFocus()) {
        painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Accent2, appearance), 2));
        painter.drawPath(shape);
    }
    painter.setPen(text);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, this->text());
}

} // namespace wrenlow
