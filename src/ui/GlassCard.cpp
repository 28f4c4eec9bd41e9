#include "ui/GlassCard.h"

#include "ui/BlurredShape.h"
#include "ui/WrenlowTheme.h"

#include <QCache>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

// Most cards of a page share a few sizes, and a size changes only while the window is resized.
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
    if (event->type() == QEvent::Paint && watched == m_watchedParent && isVisible())
        paintShadow(m_watchedParent);
    return QWidget::eventFilter(watched, event);
}

void GlassCard::paintShadow(QWidget *parent)
{
    const QRect target = shadowRect(geometry());
    QPainter painter(parent);
    painter.drawImage(target.topLeft(),
                      shadowImage(size(), WrenlowTheme::appearanceOf(this), parent->devicePixelRatioF()));
}

void GlassCard::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(shape, cornerRadius, cornerRadius);
    painter.fillPath(path, materialTint(appearance));
    painter.fillPath(path, WrenlowTheme::color(ThemeRole::Panel, appearance));
    painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, appearance), 1));
    painter.drawPath(path);
}

} // namespace wrenlow
