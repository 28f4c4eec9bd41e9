#pragma once

#include "ui/devicetests/KeySpec.h"

#include <QWidget>

namespace wrenlow {

// One key drawn in the keyboard test: dark until its code arrives, then filled with the accent colour.
class KeyCap : public QWidget
{
    Q_OBJECT
public:
    explicit KeyCap(KeySpec key, QWidget *parent = nullptr);

    const KeySpec &key() const { return m_key; }
    bool isPressed() const { return m_pressed; }
    void setPressed(bool pressed);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KeySpec m_key;
    bool m_pressed = false;
};

} // namespace wrenlow
