#include "ui/devicetests/MacKeyCode.h"

#include "ui/theme/UiPlatform.h"

#include <QKeyEvent>
#ifdef Q_OS_MACOS
#include <QGuiApplication>
#endif

#include <algorithm>
#include <array>
#include <utility>

namespace wrenlow::mackeycode {

namespace {

// X11 and Wayland number a key by its evdev code plus 8; the pairs below give the macOS code of the same physical
// key. The right Control key has a macOS code of its own (62) that no key of the test layout carries.
// clang-format off
constexpr std::array<std::pair<quint32, quint16>, 65> xkbToMac{{
    // Escape, 1 to 0, minus, equal, BackSpace
    {9, 53}, {10, 18}, {11, 19}, {12, 20}, {13, 21}, {14, 23}, {15, 22}, {16, 26}, {17, 28}, {18, 25}, {19, 29},
    {20, 27}, {21, 24}, {22, 51},
    // Tab, Q to P, brackets, backslash
    {23, 48}, {24, 12}, {25, 13}, {26, 14}, {27, 15}, {28, 17}, {29, 16}, {30, 32}, {31, 34}, {32, 31}, {33, 35},
    {34, 33}, {35, 30}, {51, 42},
    // Caps_Lock, A to L, semicolon, apostrophe, Return
    {66, 57}, {38, 0}, {39, 1}, {40, 2}, {41, 3}, {42, 5}, {43, 4}, {44, 38}, {45, 40}, {46, 37}, {47, 41},
    {48, 39}, {36, 36},
    // Shift_L, Z to M, comma, period, slash, Shift_R
    {50, 56}, {52, 6}, {53, 7}, {54, 8}, {55, 9}, {56, 11}, {57, 45}, {58, 46}, {59, 43}, {60, 47}, {61, 44},
    {62, 60},
    // Control_L, Alt_L, Super_L, space, Super_R, Alt_R, Control_R, Left, Down, Up, Right
    {37, 59}, {64, 58}, {133, 55}, {65, 49}, {134, 54}, {108, 61}, {105, 62}, {113, 123}, {116, 125}, {111, 126},
    {114, 124},
    // KEY_FN: only keyboards whose driver reports it (Apple keyboards) send it, and only Wayland can carry a
    // keycode above 255.
    {472, 63},
}};

// The same by Qt key, for platforms that give no native code; it cannot tell left from right.
constexpr std::array<std::pair<int, quint16>, 61> qtKeyToMac{{
    {Qt::Key_Escape, 53}, {Qt::Key_1, 18}, {Qt::Key_2, 19}, {Qt::Key_3, 20}, {Qt::Key_4, 21}, {Qt::Key_5, 23},
    {Qt::Key_6, 22}, {Qt::Key_7, 26}, {Qt::Key_8, 28}, {Qt::Key_9, 25}, {Qt::Key_0, 29}, {Qt::Key_Minus, 27},
    {Qt::Key_Equal, 24}, {Qt::Key_Backspace, 51},
    {Qt::Key_Tab, 48}, {Qt::Key_Backtab, 48}, {Qt::Key_Q, 12}, {Qt::Key_W, 13}, {Qt::Key_E, 14}, {Qt::Key_R, 15},
    {Qt::Key_T, 17}, {Qt::Key_Y, 16}, {Qt::Key_U, 32}, {Qt::Key_I, 34}, {Qt::Key_O, 31}, {Qt::Key_P, 35},
    {Qt::Key_BracketLeft, 33}, {Qt::Key_BracketRight, 30}, {Qt::Key_Backslash, 42},
    {Qt::Key_CapsLock, 57}, {Qt::Key_A, 0}, {Qt::Key_S, 1}, {Qt::Key_D, 2}, {Qt::Key_F, 3}, {Qt::Key_G, 5},
    {Qt::Key_H, 4}, {Qt::Key_J, 38}, {Qt::Key_K, 40}, {Qt::Key_L, 37}, {Qt::Key_Semicolon, 41},
    {Qt::Key_Apostrophe, 39}, {Qt::Key_Return, 36},
    {Qt::Key_Shift, 56}, {Qt::Key_Z, 6}, {Qt::Key_X, 7}, {Qt::Key_C, 8}, {Qt::Key_V, 9}, {Qt::Key_B, 11},
    {Qt::Key_N, 45}, {Qt::Key_M, 46}, {Qt::Key_Comma, 43}, {Qt::Key_Period, 47}, {Qt::Key_Slash, 44},
    {Qt::Key_Control, 59}, {Qt::Key_Alt, 58}, {Qt::Key_Meta, 55}, {Qt::Key_Space, 49}, {Qt::Key_Left, 123},
    {Qt::Key_Down, 125}, {Qt::Key_Up, 126}, {Qt::Key_Right, 124},
}};
// clang-format on

template <typename Table, typename Key> std::optional<quint16> lookUp(const Table &table, Key key)
{
    const auto found = std::find_if(table.begin(), table.end(), [key](const auto &pair) { return pair.first == key; });
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

// Folds any platform number into the unmapped range; two different keys practically never meet there, and a
// meeting would only undercount, never light a key.
quint16 unmapped(quint64 value)
{
    return static_cast<quint16>(firstUnmappedCode | ((value ^ (value >> 15)) & 0x7fff));
}

} // namespace

std::optional<quint16> fromXkbKeycode(quint32 keycode)
{
    return lookUp(xkbToMac, keycode);
}

std::optional<quint16> fromQtKey(int key)
{
    return lookUp(qtKeyToMac, key);
}

bool isModifier(quint16 code)
{
    return code >= 54 && code <= 63;
}

bool reportsNativeKeyEvent(quint64 nativeType)
{
    return nativeType == uiplatform::NativeKeyEvent::FlagsChanged;
}

bool reportsQtKeyEvent(const QKeyEvent &event, quint16 code, bool modifiersNative)
{
    if (modifiersNative) {
        // Qt names a modifier by its key as well as by the native code; either marks its copy of a change.
        constexpr std::array modifierKeys{Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta,
                                          Qt::Key_Alt,   Qt::Key_AltGr,   Qt::Key_CapsLock};
        if (isModifier(code) || std::find(modifierKeys.begin(), modifierKeys.end(), event.key()) != modifierKeys.end())
            return false;
    }
    return event.type() == QEvent::KeyPress || (!event.isAutoRepeat() && isModifier(code));
}

quint16 fromKeyEvent(const QKeyEvent &event)
{
#ifdef Q_OS_MACOS
    // Cocoa hands over the virtual key code itself; 0 is a real code there (the A key).
    if (QGuiApplication::platformName() == QLatin1String("cocoa"))
        return static_cast<quint16>(event.nativeVirtualKey());
#endif
    if (const quint32 native = event.nativeScanCode(); native != 0)
        return fromXkbKeycode(native).value_or(unmapped(native));
    const int key = event.key();
    return fromQtKey(key).value_or(unmapped(static_cast<quint64>(static_cast<unsigned>(key))));
}

} // namespace wrenlow::mackeycode
