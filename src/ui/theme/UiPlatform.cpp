#include "ui/theme/UiPlatform.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QSettings>
#include <QWidget>

#include <memory>

#ifdef Q_OS_MACOS
#include <CoreFoundation/CoreFoundation.h>
#include <objc/message.h>
#include <objc/runtime.h>
#endif

namespace wrenlow::uiplatform {

namespace {

#ifdef Q_OS_MACOS
// Sends an Objective-C message through the runtime's C functions, so that no file of ours needs Objective-C.
template <typename Result, typename... Arguments>
Result send(void *receiver, const char *selector, Arguments... arguments)
{
    using Message = Result (*)(void *, SEL, Arguments...);
    return reinterpret_cast<Message>(&objc_msgSend)(receiver, sel_registerName(selector), arguments...);
}
#else
// Under one fixed organisation and application name, whatever the running program calls itself.
std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Wrenlow"),
                                       QStringLiteral("Wrenlow Zel Mac"));
}
#endif

} // namespace

QString fontFamily(FontDesign design, QFont::Weight weight)
{
#ifdef Q_OS_MACOS
    Q_UNUSED(weight);
    if (design == FontDesign::Monospaced)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
#else
    switch (design) {
    case FontDesign::Monospaced:
        return QStringLiteral("DejaVu Sans Mono");
    case FontDesign::Rounded:
        // Debian's Quicksand names its light and medium faces as families of their own.
        if (weight <= QFont::Light)
            return QStringLiteral("Quicksand Light");
        if (weight == QFont::Medium)
            return QStringLiteral("Quicksand Medium");
        return QStringLiteral("Quicksand");
    case FontDesign::Default:
        break;
    }
    return QStringLiteral("Inter");
#endif
}

QString tabularDigitFamily()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("Helvetica Neue");
#else
    return QStringLiteral("DejaVu Sans");
#endif
}

QKeySequence scanShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}

bool closingWindowEndsProgram()
{
#ifdef Q_OS_MACOS
    return false;
#else
    return true;
#endif
}

std::optional<QString> userDefault(const QString &key)
{
#ifdef Q_OS_MACOS
    const CFStringRef name = key.toCFString();
    const CFPropertyListRef value = CFPreferencesCopyAppValue(name, kCFPreferencesCurrentApplication);
    CFRelease(name);
    std::optional<QString> text;
    if (value && CFGetTypeID(value) == CFStringGetTypeID())
        text = QString::fromCFString(static_cast<CFStringRef>(value));
    if (value)
        CFRelease(value);
    return text;
#else
    const QVariant value = openSettings()->value(key);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
#endif
}

void setUserDefault(const QString &key, const QString &value)
{
#ifdef Q_OS_MACOS
    const CFStringRef name = key.toCFString();
    const CFStringRef text = value.toCFString();
    CFPreferencesSetAppValue(name, text, kCFPreferencesCurrentApplication);
    CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
    CFRelease(text);
    CFRelease(name);
#else
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(key, value);
    settings->sync();
#endif
}

void prepareWindow(QWidget *window)
{
#ifdef Q_OS_MACOS
    window->setWindowTitle(QString());
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
    window->setWindowFlag(Qt::ExpandedClientAreaHint);
    window->setWindowFlag(Qt::NoTitleBarBackgroundHint);
#else
    // Older Qt has no flags for it: the native window gets a transparent title bar without its title, over a
    // content view that fills the whole window. (NSWindowTitleHidden is 1, the full-size content view bit 15.)
    void *nativeWindow = send<void *>(reinterpret_cast<void *>(window->winId()), "window");
    send<void>(nativeWindow, "setTitlebarAppearsTransparent:", static_cast<BOOL>(YES));
    send<void>(nativeWindow, "setTitleVisibility:", 1L);
    send<void>(nativeWindow, "setStyleMask:", send<unsigned long>(nativeWindow, "styleMask") | (1UL << 15));
#endif
#else
    window->setWindowTitle(QStringLiteral("Wrenlow"));
#endif
}

int titleBarInset()
{
#ifdef Q_OS_MACOS
    return 28;
#else
    return 0;
#endif
}

bool modifierChangesAreNative()
{
    return QGuiApplication::platformName() == QLatin1String("cocoa");
}

std::optional<NativeKeyEvent> nativeKeyEvent(const QByteArray &eventType, void *message)
{
#ifdef Q_OS_MACOS
    if (eventType != "mac_generic_NSEvent" || !message)
        return std::nullopt;
    // An NSEvent answers keyCode only for the key event types; asked of any other, it raises.
    const auto type = send<unsigned long>(message, "type");
    if (type != NativeKeyEvent::KeyDown && type != NativeKeyEvent::KeyUp && type != NativeKeyEvent::FlagsChanged)
        return std::nullopt;
    return NativeKeyEvent{type, send<unsigned short>(message, "keyCode")};
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    return std::nullopt;
#endif
}

} // namespace wrenlow::uiplatform
