#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QBasicTimer>
#include <QWidget>

namespace wrenlow {

// A small indeterminate progress indicator; it turns only while it is visible.
class Spinner : public QWidget
{
    Q_OBJECT
public:
    explicit Spinner(int pixelSize = 16, ThemeRole color = ThemeRole::Muted, QWidget *parent = nullptr);

    void setColor(ThemeRole color);
    QSize sizeHint() const override { return {m_pixelSize, m_pixelSize}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_pixelSize;
    ThemeRole m_color;
    int m_step = 0;
    QBasicTimer m_timer;
};

} // namespace wrenlow
