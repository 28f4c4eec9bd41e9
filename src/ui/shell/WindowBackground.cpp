#include "ui/shell/WindowBackground.h"

#include "ui/theme/BlurredShape.h"

#include <QLinearGradient>
#include <QPainter>

namespace wrenlow {

namespace {

struct Glow
{
    ThemeRole color;
    qreal diameter;
    qreal blurRadius;
    QPointF offset; // of the circle's centre from the window's centre
};

const Glow glows[] = {
    {ThemeRole::Accent, 520, 120, {390, -290}},
    {ThemeRole::Accent2, 420, 110, {-420, 340}},
};

// The circles do not depend on the window's size, only on the screen's pixel ratio.
const QImage &glowImage(const Glow &glow, qreal ratio)
{
    static QImage images[std::size(glows)];
    static qreal ratios[std::size(glows)] = {};
    const size_t index = size_t(&glow - glows);
    if (images[index].isNull() || ratios[index] != ratio) {
        // A blur radius reads as twice the standard deviation of the Gaussian.
        images[index] = BlurredShape::circle(glow.diameter, glow.blurRadius / 2,
                                             WrenlowTheme::color(glow.color, Appearance::Light, 0.12), ratio);
        ratios[index] = ratio;
    }
    return images[index];
}

} // namespace

const QPixmap &WindowBackground::pixmap(QSize size, Appearance appearance, qreal devicePixelRatio)
{
    if (m_cached.isNull() || size != m_size || appearance != m_appearance ||
        m_cached.devicePixelRatio() != devicePixelRatio) {
        m_cached = render(size, appearance, devicePixelRatio);
        m_size = size;
        m_appearance = appearance;
    }
    return m_cached;
}

QPixmap WindowBackground::render(QSize size, Appearance appearance, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    QLinearGradient gradient(QPointF(0, 0), QPointF(size.width(), size.height()));
    gradient.setColorAt(0, WrenlowTheme::color(ThemeRole::BackgroundA, appearance));
    gradient.setColorAt(0.5, WrenlowTheme::color(ThemeRole::BackgroundB, appearance));
    gradient.setColorAt(1, WrenlowTheme::color(ThemeRole::BackgroundC, appearance));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    for (const Glow &glow : glows) {
        const qreal margin = BlurredShape::margin(glow.blurRadius / 2);
        const QPointF topLeft = centre + glow.offset - QPointF(glow.diameter / 2 + margin, glow.diameter / 2 + margin);
        painter.drawImage(topLeft, glowImage(glow, devicePixelRatio));
    }
    return pixmap;
}

} // namespace wrenlow
