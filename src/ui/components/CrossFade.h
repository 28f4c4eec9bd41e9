#pragma once

#include <QEasingCurve>
#include <QPixmap>
#include <QVariantAnimation>
#include <QWidget>

#include <chrono>

namespace wrenlow {

// A picture of a widget as it looked, laid over it and faded out, so that a change the widget makes at once
// (another page, another theme) eases in. It takes no input, so the window stays usable while it fades, and it
// removes itself when the fade ends, or at once when the widget is resized, leaving exactly what the widget shows.
class CrossFade : public QWidget
{
    Q_OBJECT
public:
    // Takes the picture of `target` now, in place of a fade still running over it, and fades it out.
    static CrossFade *start(QWidget *target, std::chrono::milliseconds duration, QEasingCurve::Type curve);

    const QVariantAnimation &animation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CrossFade(QWidget *target, QPixmap picture, std::chrono::milliseconds duration, QEasingCurve::Type curve);

    QPixmap m_picture;
    QVariantAnimation m_animation;
};

} // namespace wrenlow
