#include "ui/theme/BlurredShape.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace wrenlow {

namespace {

// One running-sum box pass along lines of an 8-bit coverage image; three passes approximate a Gaussian.
void boxPass(uchar *bits, int length, int lines, qsizetype step, qsizetype lineStep, int radius)
{
    std::vector<uchar> line(static_cast<size_t>(length));
    const int width = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        uchar *start = bits + l * lineStep;
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = start[i * step];
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? line[size_t(i)] : 0;
        for (int i = 0; i < length; ++i) {
            start[i * step] = uchar(sum / width);
            const int enter = i + radius + 1;
            const int leave = i - radius;
            sum += (enter < length ? line[size_t(enter)] : 0) - (leave >= 0 ? line[size_t(leave)] : 0);
        }
    }
}

void gaussianBlur(QImage &coverage, qreal sigma)
{
    // Box width for three passes whose combined variance matches sigma².
    const int radius = std::max(0, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    if (radius == 0)
        return;
    uchar *bits = coverage.bits();
    const qsizetype stride = coverage.bytesPerLine();
    for (int pass = 0; pass < 3; ++pass)
        boxPass(bits, coverage.width(), coverage.height(), 1, stride, radius);
    for (int pass = 0; pass < 3; ++pass)
        boxPass(bits, coverage.height(), coverage.width(), stride, 1, radius);
}

// Colours the coverage. Faint colours have few alpha steps, which show as rings on a wide glow; an ordered
// dither spreads each step over its neighbours.
QImage tinted(const QImage &coverage, const QColor &color, qreal ratio)
{
    static constexpr float bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    QImage result(coverage.size(), QImage::Format_ARGB32_Premultiplied);
    const float alpha = color.alphaF();
    const float red = color.redF(), green = color.greenF(), blue = color.blueF();
    for (int y = 0; y < coverage.height(); ++y) {
        const uchar *in = coverage.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < coverage.width(); ++x) {
            const float level = in[x] / 255.0f * alpha * 255.0f + (bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f;
            const int a = std::clamp(int(std::lround(level)), 0, 255);
            out[x] = qRgba(int(std::lround(red * a)), int(std::lround(green * a)), int(std::lround(blue * a)), a);
        }
    }
    result.setDevicePixelRatio(ratio);
    return result;
}

// Shapes are blurred at a reduced resolution when the blur is wide: the result is smooth either way and the
// work shrinks with the square of the factor.
QImage blurred(QSizeF size, qreal sigma, const QColor &color, qreal ratio, const QPainterPath &shape)
{
    const qreal margin = BlurredShape::margin(sigma);
    const qreal reduce = sigma * ratio > 24 ? 4.0 : (sigma * ratio > 6 ? 2.0 : 1.0);
    const qreal scale = ratio / reduce;
    const QSize pixels(int(std::ceil((size.width() + 2 * margin) * scale)),
                       int(std::ceil((size.height() + 2 * margin) * scale)));
    QImage coverage(pixels, QImage::Format_Alpha8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        painter.translate(margin, margin);
        painter.fillPath(shape, Qt::black);
    }
    gaussianBlur(coverage, sigma * scale);

    const QSize target(int(std::ceil((size.width() + 2 * margin) * ratio)),
                       int(std::ceil((size.height() + 2 * margin) * ratio)));
    if (coverage.size() != target)
        coverage = coverage.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return tinted(coverage, color, ratio);
}

} // namespace

int BlurredShape::margin(qreal sigma)
{
    return int(std::ceil(3 * sigma));
}

QImage BlurredShape::roundedRect(QSizeF size, qreal cornerRadius, qreal sigma, const QColor &color,
                                 qreal devicePixelRatio)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(QPointF(0, 0), size), cornerRadius, cornerRadius);
    return blurred(size, sigma, color, devicePixelRatio, shape);
}

QImage BlurredShape::circle(qreal diameter, qreal sigma, const QColor &color, qreal devicePixelRatio)
{
    QPainterPath shape;
    shape.addEllipse(QRectF(0, 0, diameter, diameter));
    return blurred(QSizeF(diameter, diameter), sigma, color, devicePixelRatio, shape);
}

} // namespace wrenlow
