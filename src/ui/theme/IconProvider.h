#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;
class QRectF;

namespace wrenlow {

// Symbols by the names the window and the scan use, drawn from the Bootstrap Icons set that the build embeds,
// tinted with one colour at paint time. A name without an icon is drawn as a question mark.
class IconProvider
{
public:
    IconProvider() = delete;

    static bool hasSymbol(const QString &name);

    // The symbol in a square of `pixelSize` device-independent pixels, cached per name, size, colour and ratio.
    static QPixmap pixmap(const QString &name, int pixelSize, const QColor &color, qreal devicePixelRatio = 1.0);

    // Draws the symbol centred in the largest square of `rect`.
    static void paint(QPainter &painter, const QRectF &rect, const QString &name, const QColor &color);

    static QIcon icon(const QString &name, const QColor &color, int pixelSize = 16);
};

} // namespace wrenlow
