#include "KeyCap.h"

#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace wrenlow {

namespace {

constexpr int narrowWidth = 38;
constexpr int wideWidth = 54;
constexpr int capHeight = 36;
constexpr int spacePadding = 46;
constexpr qreal radius = 8;

} // namespace

KeyCap::KeyCap(KeySpec key, QWidget *parent)
    : QWidget(parent)
    , m_key(std::move(key))
{
    setObjectName(QStringLiteral("keyCap"));
    setFont(WrenlowFont::font(10, QFont::DemiBold, FontDesign::Rounded));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KeyCap::setPressed(bool pressed)
{
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    update();
}

QSize KeyCap::sizeHint() const
{
    const int minimum = m_key.label.size() <= 2 ? narrowWidth : wideWidth;
    const int text = QFontMetrics(font()).horizontalAdvance(m_key.label);
    const int padding = m_key.label == QLatin1String("space") ? 2 * spacePadding : 0;
    return {std::max(minimum, text) + padding, capHeight};
}

void KeyCap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    const QColor accent = WrenlowTheme::color(ThemeRole::Accent, appearance);
    painter.fillPath(shape, m_pressed ? accent : WrenlowTheme::color(ThemeRole::KeyBackground, appearance));
    painter.setPen(QPen(m_pressed ? accent : WrenlowTheme::color(ThemeRole::Line, appearance), 1));
    painter.drawPath(shape);
    painter.setPen(m_pressed ? WrenlowTheme::color(ThemeRole::Black, appearance)
                             : WrenlowTheme::color(ThemeRole::Primary, appearance, 0.78));
    painter.drawText(rect(), Qt::AlignCenter, m_key.label);
}

} // namespace wrenlow
