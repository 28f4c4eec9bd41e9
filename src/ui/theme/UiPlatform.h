#pragma once

#include <QByteArray>
#include <QFont>
#include <QKeySequence>
#include <QString>

#include <optional>

class QWidget;

namespace wrenlow {

// The typeface designs the window asks for.
enum class FontDesign { Default, Rounded, Monospaced };

// Everything in the window that differs between macOS and Linux, in one place: typefaces, the scan command's
// shortcut, the window's frame and life, the stored setting and the platform's key events. docs/architecture.md lists
// the differences.
namespace uiplatform {

// The family that draws a design at a weight. macOS: the system font (and its monospaced face); Linux: Inter,
// Quicksand for the rounded design (one family per weight), DejaVu Sans Mono.
QString fontFamily(FontDesign design, QFont::Weight weight);

// A family whose digits all have one width, for number texts whose own font lacks that.
QString tabularDigitFamily();

// Command-R on macOS, Ctrl+R elsewhere: Qt reads Ctrl as the Command key on macOS.
QKeySequence scanShortcut();

// Whether closing the window ends the program. On macOS it does not: the program keeps running with its work until
// the user quits, and a click on its Dock icon shows the window again. Elsewhere nothing could bring the window
// back, so closing it ends the program.
bool closingWindowEndsProgram();

// A text in the user's standard defaults: on macOS the application's own domain (its bundle identifier), through
// CoreFoundation; elsewhere the settings file of the organisation "Wrenlow" and the application "Wrenlow Zel Mac".
// Nothing when the key holds no text. Storing writes it out at once.
std::optional<QString> userDefault(const QString &key);
void setUserDefault(const QString &key, const QString &value);

// Sets up the top-level window's frame. Linux keeps the window manager's decorations (a frameless window
// loses moving and resizing); macOS draws no title and no title-bar strip, and the content reaches the top edge
// under the window's three buttons.
void prepareWindow(QWidget *window);

// The strip along the content's top that the window's buttons stand in: the content's backgrounds reach into it
// and its controls keep below it. 28 on macOS, the height of a title bar without toolbar; 0 where the window
// manager draws the frame above the content.
int titleBarInset();

// A key event as macOS delivers it, before Qt turns it into key events of its own: the NSEvent's type and its
// virtual key code.
struct NativeKeyEvent
{
    // NSEventType's numbers of the events that carry a key code.
    enum Type : quint64 { KeyDown = 10, KeyUp = 11, FlagsChanged = 12 };

    quint64 type;
    quint16 keyCode;
};

// Whether modifier changes reach the window as the platform's own events, which carry each one with its key's code
// (macOS). Elsewhere only Qt's key events carry them.
bool modifierChangesAreNative();

// The key event behind one of the platform's events (a native event filter's arguments), or nothing for any other
// event and on every platform but macOS.
std::optional<NativeKeyEvent> nativeKeyEvent(const QByteArray &eventType, void *message);

} // namespace uiplatform
} // namespace wrenlow
