#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>

namespace wrenlow {

// Soft images for shadows and glows: a shape blurred with a Gaussian of standard deviation `sigma`, drawn on a
// transparent margin of three standard deviations around the shape. Callers cache the results; making one
// costs a few milliseconds.
class BlurredShape
{
public:
    BlurredShape() = delete;

    static QImage roundedRect(QSizeF size, qreal cornerRadius, qreal sigma, const QColor &color,
                              qreal devicePixelRatio = 1.0);
    static QImage circle(qreal diameter, qreal sigma, const QColor &color, qreal devicePixelRatio = 1.0);

    // The transparent margin on each side, in device-independent pixels.
    static int margin(qreal sigma);
};

} // namespace wrenlow
