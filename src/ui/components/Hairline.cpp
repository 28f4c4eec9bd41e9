#include "ui/components/Hairline.h"

#include "ui/theme/WrenlowTheme.h"

#include <QPainter>

#include <cmath>

namespace wrenlow {

Hairline::Hairline(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
{
    if (orientation == Qt::Vertical)
        setFixedWidth(1);
    else
        setFixedHeight(1);
}

void Hairline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(snappedLine(painter.deviceTransform(), rect(), m_orientation),
                     WrenlowTheme::color(ThemeRole::Line, this));
}

QRectF Hairline::snappedLine(const QTransform &toDevice, const QRect &area, Qt::Orientation orientation)
{
    // One point is 1.5 device pixels at a scale of 1.5, which a plain fill covers as 1 or 2 pixels by where the
    // line falls. The line takes whole device pixels instead (as many as whole ones fit in a point, at least one),
    // from the first whole pixel inside its point, so every hairline of the window is equally thick.
    const bool horizontal = orientation == Qt::Horizontal;
    const QPointF origin = toDevice.map(QPointF(area.topLeft()));
    const qreal scale = horizontal ? toDevice.m22() : toDevice.m11();
    const qreal start = horizontal ? origin.y() : origin.x();
    const qreal snapped = std::ceil(start - 1e-6);
    const qreal thickness = std::max(1.0, std::floor(scale + 1e-6));
    const qreal offset = (snapped - start) / scale;
    const qreal across = thickness / scale;
    return horizontal ? QRectF(area.left(), area.top() + offset, area.width(), across)
                      : QRectF(area.left() + offset, area.top(), across, area.height());
}

} // namespace wrenlow
