#pragma once

#include "ui/theme/UiPlatform.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAbstractNativeEventFilter;

namespace wrenlow {

// An invisible widget that, while it has keyboard focus, hands the macOS key code of every key press (each
// automatic repeat included) and of every modifier press and release to a callback, and lets no key do anything
// else: no shortcut, no focus change, no menu.
class KeyCaptureView : public QWidget
{
    Q_OBJECT
public:
    using OnKey = std::function<void(quint16)>;

    // Where modifier changes come from: Qt's key events, or the platform's own events where it has them (macOS).
    enum class ModifierSource { QtKeyEvents, PlatformEvents };

    explicit KeyCaptureView(QWidget *parent = nullptr, ModifierSource modifiers = uiplatform::modifierChangesAreNative()
                                                                                      ? ModifierSource::PlatformEvents
                                                                                      : ModifierSource::QtKeyEvents);
    ~KeyCaptureView() override;

    // Keys that arrive while no callback is set are swallowed all the same.
    void setOnKey(OnKey onKey);

    // Asks for keyboard focus on a later turn of the event loop, once the current update has finished.
    void requestFocus();

    // One of the platform's key events, seen before Qt handles it: with the platform as the source of modifier
    // changes, a change reports its code while the view has focus. True when it reported.
    bool takeNativeKeyEvent(const uiplatform::NativeKeyEvent &event);

protected:
    bool event(QEvent *event) override;

private:
    OnKey m_onKey;
    ModifierSource m_modifiers;
    std::unique_ptr<QAbstractNativeEventFilter> m_nativeEvents;
};

} // namespace wrenlow
