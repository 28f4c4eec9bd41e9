#pragma once

#include <QFont>
#include <QKeySequence>
#include <QString>

class QWidget;

namespace wrenlow {

// The typeface designs the window asks for.
enum class FontDesign { Default, Rounded, Monospaced };

// Everything in the window that differs between macOS and Linux, in one place: typefaces, the scan command's
// shortcut and the window's frame. docs/architecture.md lists the differences.
namespace uiplatform {

// The family that draws a design at a weight. macOS: the system font (and its monospaced face); Linux: Inter,
// Quicksand for the rounded design (one family per weight), DejaVu Sans Mono.
QString fontFamily(FontDesign design, QFont::Weight weight);

// A family whose digits all have one width, for number texts whose own font lacks that.
QString tabularDigitFamily();

// Command-R on macOS, Ctrl+R elsewhere: Qt reads Ctrl as the Command key on macOS.
QKeySequence scanShortcut();

// Sets up the top-level window's frame. Linux keeps the window manager's decorations (a frameless window
// loses moving and resizing); macOS hides the title text so the content looks like it reaches the top.
void prepareWindow(QWidget *window);

} // namespace uiplatform
} // namespace wrenlow
