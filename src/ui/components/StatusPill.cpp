#include "ui/components/StatusPill.h"

#include "ui/components/PlainLabel.h"
#include "ui/theme/WrenlowFont.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace wrenlow {

namespace {

constexpr int horizontalPadding = 9;
constexpr int verticalPadding = 5;

} // namespace

StatusPill::StatusPill(const QString &text, ThemeRole color, QWidget *parent)
    : QWidget(parent)
    , m_color(color)
{
    setFont(WrenlowFont::font(10, QFont::Bold, FontDesign::Rounded, 0.8));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(text);
}

void StatusPill::setText(const QString &text)
{
    if (text == m_text && !m_display.isNull())
        return;
    m_text = text;
    // A pill may show a text from a tool (the macOS version): one short line that keeps the pill's size, and when
    // cut, the whole text in the tooltip as every cut outside text has it.
    const QString line = cleanOutsideLine(text).toUpper();
    const QString display = cutOutsideText(line, lengthCap);
    m_display = display.isNull() ? QStringLiteral("") : display;
    setToolTip(display == line ? QString() : outsideToolTip(cleanOutsideText(text)));
    updateGeometry();
    update();
}

void StatusPill::setColor(ThemeRole color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize StatusPill::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal textWidth = m_display.isEmpty() ? 0 : metrics.horizontalAdvance(m_display);
    return {int(std::ceil(textWidth)) + 2 * horizontalPadding, int(std::ceil(metrics.height())) + 2 * verticalPadding};
}

void StatusPill::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void StatusPill::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = shape.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(shape, radius, radius);
    painter.fillPath(capsule, WrenlowTheme::color(m_color, appearance, 0.14));
    painter.setPen(QPen(WrenlowTheme::color(m_color, appearance, 0.28), 1));
    painter.drawPath(capsule);
    painter.setPen(WrenlowTheme::color(m_color, appearance));
    painter.setFont(font());
    painter.drawText(rect().adjusted(horizontalPadding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_display);
}

} // namespace wrenlow
