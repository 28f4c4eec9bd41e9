#pragma once

#include <QWidget>

#include <functional>

namespace wrenlow {

// An invisible widget that, while it has keyboard focus, hands the macOS key code of every key press (each
// automatic repeat included) and of every modifier press and release to a callback, and lets no key do anything
// else: no shortcut, no focus change, no menu.
class KeyCaptureView : public QWidget
{
    Q_OBJECT
public:
    using OnKey = std::function<void(quint16)>;

    explicit KeyCaptureView(QWidget *parent = nullptr);

    // Keys that arrive while no callback is set are swallowed all the same.
    void setOnKey(OnKey onKey);

    // Asks for keyboard focus on a later turn of the event loop, once the current update has finished.
    void requestFocus();

protected:
    bool event(QEvent *event) override;

private:
    OnKey m_onKey;
};

} // namespace wrenlow
