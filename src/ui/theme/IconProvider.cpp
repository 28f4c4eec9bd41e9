#include "ui/theme/IconProvider.h"

#include <QCache>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

// The resource lives in a static library; naming its initialiser pulls it into every program that draws icons.
static void initIconResource()
{
    Q_INIT_RESOURCE(wrenlow_icons);
}

namespace wrenlow {

namespace {

QString resourcePath(const QString &name)
{
    return QStringLiteral(":/wrenlow/icons/") + name + QStringLiteral(".svg");
}

const QString &fallbackPath()
{
    static const QString path = resourcePath(QStringLiteral("questionmark.circle"));
    return path;
}

QImage render(const QString &name, int side, const QColor &color)
{
    static const bool initialised = (initIconResource(), true);
    Q_UNUSED(initialised);
    const QString path = QFile::exists(resourcePath(name)) ? resourcePath(name) : fallbackPath();
    QSvgRenderer renderer(path);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, side, side));
    // The icons are drawn in one colour: keep their coverage, replace the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

} // namespace

bool IconProvider::hasSymbol(const QString &name)
{
    static const bool initialised = (initIconResource(), true);
    Q_UNUSED(initialised);
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QPixmap IconProvider::pixmap(const QString &name, int pixelSize, const QColor &color, qreal devicePixelRatio)
{
    static QCache<QString, QPixmap> cache(400);
    const int side = std::max(1, int(std::lround(pixelSize * devicePixelRatio)));
    const QString key =
        name + QLatin1Char('/') + QString::number(side) + QLatin1Char('/') + QString::number(color.rgba(), 16);
    if (QPixmap *cached = cache.object(key))
        return *cached;
    QPixmap pixmap = QPixmap::fromImage(render(name, side, color));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, new QPixmap(pixmap));
    return pixmap;
}

void IconProvider::paint(QPainter &painter, const QRectF &rect, const QString &name, const QColor &color)
{
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    const QRectF square(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap image = pixmap(name, int(std::lround(side)), color, ratio);
    painter.drawPixmap(square, image, QRectF(QPointF(0, 0), QSizeF(image.size())));
}

QIcon IconProvider::icon(const QString &name, const QColor &color, int pixelSize)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0})
        icon.addPixmap(pixmap(name, pixelSize, color, ratio));
    return icon;
}

} // namespace wrenlow
