#include "ui/devicetests/KeyCaptureView.h"

#include "ui/devicetests/MacKeyCode.h"

#include <QKeyEvent>
#include <QTimer>

namespace wrenlow {

KeyCaptureView::KeyCaptureView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("keyCapture"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(1, 1);
}

void KeyCaptureView::setOnKey(OnKey onKey)
{
    m_onKey = std::move(onKey);
}

void KeyCaptureView::requestFocus()
{
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            setFocus(Qt::OtherFocusReason);
    });
}

bool KeyCaptureView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepting it keeps every shortcut (a re-scan on Ctrl+R, the menu bar on Alt) from firing and delivers
        // the key press here instead.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Handled before QWidget::event, which would otherwise move focus on Tab.
        const auto *key = static_cast<QKeyEvent *>(event);
        const quint16 code = mackeycode::fromKeyEvent(*key);
        const bool report = event->type() == QEvent::KeyPress || (!key->isAutoRepeat() && mackeycode::isModifier(code));
        if (report && m_onKey)
            m_onKey(code);
        event->accept();
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

} // namespace wrenlow
