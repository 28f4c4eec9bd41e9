#include "ui/components/GlassCard.h"

#include "ui/theme/BlurredShape.h"
#include "ui/theme/WrenlowTheme.h"

#include <QCache>
#include <qdrawutil.h>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace wrenlow {

namespace {

// Beyond a corner's curve plus the blur's reach, a shadow's edge is the same all along: a card at least twice
// that in both directions gets its shadow stretched from one small image, whatever its size.
constexpr int shadowCore = int(GlassCard::cornerRadius + 3 * GlassCard::shadowSigma);

QPixmap shadowNinePatch(Appearance appearance, qreal ratio)
{
    static QCache<QString, QPixmap> cache(4);
    const QString key = QString::number(int(appearance)) + QLatin1Char('/') + QString::number(ratio);
    if (const QPixmap *cached = cache.object(key))
        return *cached;
    const QPixmap pixmap = QPixmap::fromImage(BlurredShape::roundedRect(
        QSizeF(2 * shadowCore + 1, 2 * shadowCore + 1), GlassCard::cornerRadius, GlassCard::shadowSigma,
        WrenlowTheme::color(ThemeRole::CardShadow, appearance), ratio));
    cache.insert(key, new QPixmap(pixmap));
    return pixmap;
}

// Smaller cards get a shadow of their own size; most cards of a page share a few sizes.
QImage shadowImage(QSize size, Appearance appearance, qreal ratio)
{
    static QCache<QString, QImage> cache(48);
    const QString key = QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height()) +
                        QLatin1Char('/') + QString::number(int(appearance)) + QLatin1Char('/') + QString::number(ratio);
    if (const QImage *cached = cache.object(key))
        return *cached;
    QImage image = BlurredShape::roundedRect(QSizeF(size), GlassCard::cornerRadius, GlassCard::shadowSigma,
                                             WrenlowTheme::color(ThemeRole::CardShadow, appearance), ratio);
    cache.insert(key, new QImage(image));
    return image;
}

// The rounded panel with its veil, fill and outline: antialiased fills of the whole card are the bulk of a page's
// repaint, so each size and appearance is drawn once. The cache is bounded by memory, as cards of a wide window
// at a high pixel ratio are large.
QImage panelImage(QSize size, Appearance appearance, qreal ratio)
{
    static QCache<QString, QImage> cache(32 * 1024); // KiB
    const QString key = QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height()) +
                        QLatin1Char('/') + QString::number(int(appearance)) + QLatin1Char('/') + QString::number(ratio);
    if (const QImage *cached = cache.object(key))
        return *cached;
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5), GlassCard::cornerRadius,
                        GlassCard::cornerRadius);
    painter.fillPath(path, GlassCard::materialTint(appearance));
    painter.fillPath(path, WrenlowTheme::color(ThemeRole::Panel, appearance));
    painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, appearance), 1));
    painter.drawPath(path);
    painter.end();
    cache.insert(key, new QImage(image), static_cast<qsizetype>(std::max<qint64>(1, image.sizeInBytes() / 1024)));
    return image;
}

} // namespace

QColor GlassCard::materialTint(Appearance appearance)
{
    return appearance == Appearance::Dark ? QColor(28, 32, 42, 90) : QColor(255, 255, 255, 70);
}

GlassCard::GlassCard(QWidget *content, QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(padding, padding, padding, padding);
    m_layout->setSpacing(0);
    if (content)
        m_layout->addWidget(content);
    watchParent();
}

QRect GlassCard::shadowRect(const QRect &geometry) const
{
    const int margin = BlurredShape::margin(shadowSigma);
    return geometry.translated(shadowOffset).adjusted(-margin, -margin, margin, margin);
}

void GlassCard::watchParent()
{
    if (m_watchedParent == parentWidget())
        return;
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
}

bool GlassCard::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        watchParent();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        // The shadow lies outside the card, where Qt repaints nothing by itself.
        if (QWidget *parent = parentWidget()) {
            parent->update(shadowRect(m_lastGeometry));
            parent->update(shadowRect(geometry()));
        }
        m_lastGeometry = geometry();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool GlassCard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == m_watchedParent && !isHidden())
        paintShadow(m_watchedParent);
    return QWidget::eventFilter(watched, event);
}

void GlassCard::paintShadow(QWidget *parent)
{
    const QRect target = shadowRect(geometry());
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    const qreal ratio = parent->devicePixelRatioF();
    QPainter painter(parent);
    if (width() >= 2 * shadowCore && height() >= 2 * shadowCore) {
        const int slice = BlurredShape::margin(shadowSigma) + shadowCore;
        qDrawBorderPixmap(&painter, target, QMargins(slice, slice, slice, slice), shadowNinePatch(appearance, ratio));
        return;
    }
    painter.drawImage(target.topLeft(), shadowImage(size(), appearance, ratio));
}

void GlassCard::paintEvent(QPaintEvent *)
{
    QPainter(this).drawImage(QPoint(), panelImage(size(), WrenlowTheme::appearanceOf(this), devicePixelRatioF()));
}

} // namespace wrenlow
