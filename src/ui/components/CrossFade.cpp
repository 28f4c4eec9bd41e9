#include "ui/components/CrossFade.h"

#include <QEvent>
#include <QPainter>

namespace wrenlow {

CrossFade *CrossFade::start(QWidget *target, std::chrono::milliseconds duration, QEasingCurve::Type curve)
{
    // The picture shows a fade still running as it stands, so a second change starts from what is on screen.
    QPixmap picture = target->grab();
    for (CrossFade *running : target->findChildren<CrossFade *>(Qt::FindDirectChildrenOnly))
        delete running;
    return new CrossFade(target, std::move(picture), duration, curve);
}

CrossFade::CrossFade(QWidget *target, QPixmap picture, std::chrono::milliseconds duration, QEasingCurve::Type curve)
    : QWidget(target)
    , m_picture(std::move(picture))
{
    setObjectName(QStringLiteral("crossFade"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(target->rect());
    target->installEventFilter(this);

    m_animation.setDuration(int(duration.count()));
    m_animation.setEasingCurve(curve);
    m_animation.setStartValue(1.0);
    m_animation.setEndValue(0.0);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&m_animation, &QVariantAnimation::finished, this, &QObject::deleteLater);
    raise();
    show();
    m_animation.start();
}

void CrossFade::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_animation.currentValue().toReal());
    painter.drawPixmap(0, 0, m_picture);
}

bool CrossFade::eventFilter(QObject *watched, QEvent *event)
{
    // A picture of the old size would stand askew over the new layout.
    if (watched == parent() && event->type() == QEvent::Resize) {
        hide();
        deleteLater();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace wrenlow
