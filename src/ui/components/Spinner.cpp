#include "ui/components/Spinner.h"

#include <QPainter>
#include <QTimerEvent>

namespace wrenlow {

namespace {

constexpr int spokes = 8;

} // namespace

Spinner::Spinner(int pixelSize, ThemeRole color, QWidget *parent)
    : QWidget(parent)
    , m_pixelSize(pixelSize)
    , m_color(color)
{
    setFixedSize(pixelSize, pixelSize);
}

void Spinner::setColor(ThemeRole color)
{
    m_color = color;
    update();
}

void Spinner::showEvent(QShowEvent *event)
{
    m_timer.start(100, this);
    QWidget::showEvent(event);
}

void Spinner::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void Spinner::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_step = (m_step + 1) % spokes;
    update();
}

void Spinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal radius = m_pixelSize / 2.0;
    const qreal thickness = std::max(1.5, m_pixelSize / 9.0);
    for (int i = 0; i < spokes; ++i) {
        // The newest spoke is darkest; the others fade behind it.
        const int age = (m_step - i + spokes) % spokes;
        QPen pen(WrenlowTheme::color(m_color, this, 1.0 - age * 0.1));
        pen.setWidthF(thickness);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * i / spokes);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius + thickness / 2));
        painter.restore();
    }
}

} // namespace wrenlow
