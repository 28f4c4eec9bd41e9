#include "ui/devicetests/KeyCaptureView.h"

#include "ui/devicetests/MacKeyCode.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

namespace wrenlow {

namespace {

// Hands the platform's key events to the view before Qt handles them, and lets Qt handle them all the same, so
// that Qt's own idea of the held modifiers stays right.
class NativeKeyEvents : public QAbstractNativeEventFilter
{
public:
    explicit NativeKeyEvents(KeyCaptureView &view)
        : m_view(view)
    {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (const auto event = uiplatform::nativeKeyEvent(eventType, message))
            m_view.takeNativeKeyEvent(*event);
        return false;
    }

private:
    KeyCaptureView &m_view;
};

} // namespace

KeyCaptureView::KeyCaptureView(QWidget *parent, ModifierSource modifiers)
    : QWidget(parent)
    , m_modifiers(modifiers)
{
    setObjectName(QStringLiteral("keyCapture"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(1, 1);
    if (m_modifiers == ModifierSource::PlatformEvents) {
        m_nativeEvents = std::make_unique<NativeKeyEvents>(*this);
        QCoreApplication::instance()->installNativeEventFilter(m_nativeEvents.get());
    }
}

// The filter leaves the application as it is destroyed.
KeyCaptureView::~KeyCaptureView() = default;

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

bool KeyCaptureView::takeNativeKeyEvent(const uiplatform::NativeKeyEvent &event)
{
    if (m_modifiers != ModifierSource::PlatformEvents || !hasFocus() || !mackeycode::reportsNativeKeyEvent(event.type))
        return false;
    if (m_onKey)
        m_onKey(event.keyCode);
    return true;
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
        if (mackeycode::reportsQtKeyEvent(*key, code, m_modifiers == ModifierSource::PlatformEvents) && m_onKey)
            m_onKey(code);
        event->accept();
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

} // namespace wrenlow
