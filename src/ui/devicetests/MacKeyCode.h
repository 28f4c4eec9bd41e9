#pragma once

#include <QtGlobal>

#include <optional>

class QKeyEvent;

namespace wrenlow {

// The keyboard test identifies a key by where it sits, the way macOS numbers its keys (the ANSI virtual key codes),
// never by the character it types. These functions turn any platform's key event into that number.
namespace mackeycode {

// Codes at or above this value stand for keys that have no macOS code here; each such key keeps its own code, so
// it still counts as a distinct key but matches no key of the macOS layout.
inline constexpr quint16 firstUnmappedCode = 0x8000;

// The macOS code of a key, by physical position: the native virtual key on macOS, the X11/xkb keycode elsewhere,
// and the Qt key only when the platform gives no native code (the offscreen platform).
quint16 fromKeyEvent(const QKeyEvent &event);

// The macOS code of an X11/xkb keycode (the evdev code plus 8), or nothing for a key the table lacks.
std::optional<quint16> fromXkbKeycode(quint32 keycode);

// The macOS code of a Qt key, or nothing; left and right modifiers cannot be told apart here and count as left.
std::optional<quint16> fromQtKey(int key);

// Whether the code is one of the modifier keys, which report both their press and their release.
bool isModifier(quint16 code);

// Whether one of the platform's own key events reports its code: a modifier change does, each press and each
// release, fn and a right-hand key beside its held left twin included; a key's press arrives as Qt's key event.
bool reportsNativeKeyEvent(quint64 nativeType);

// Whether Qt's key event with this code reports it: every press, and a modifier's release unless repeated. Where
// the platform reports modifier changes itself, Qt's events for modifier keys repeat some of those changes (and
// miss fn and a right-hand key beside its held left twin), so they report nothing.
bool reportsQtKeyEvent(const QKeyEvent &event, quint16 code, bool modifiersNative);

} // namespace mackeycode
} // namespace wrenlow
