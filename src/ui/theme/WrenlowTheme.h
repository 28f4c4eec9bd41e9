#pragma once

#include "scan/InventoryModel.h"

#include <QColor>
#include <QPalette>

class QWidget;

namespace wrenlow {

// The light or dark look of the window.
enum class Appearance { Light, Dark };

// Every colour the window draws with, by name. The first two are fixed accents, the next fifteen are the
// application's own adaptive colours, the rest stand for the platform's standard colours.
enum class ThemeRole {
    Accent,
    Accent2,
    BackgroundA,
    BackgroundB,
    BackgroundC,
    Panel,
    Line,
    Muted,
    Subtle,
    Sidebar,
    Topbar,
    Selection,
    FieldBackground,
    KeyBackground,
    HeroIcon,
    ControlBackground,
    CardShadow,
    Primary,
    Secondary,
    White,
    Black,
    Green,
    Orange,
    Red,
    Yellow,
};

// The application's palette. Widgets resolve a role against the appearance of their own palette, so switching
// the application palette (one QPalette per appearance, which stock controls follow) repaints everything in the
// other appearance without any widget choosing colours itself.
class WrenlowTheme
{
public:
    WrenlowTheme() = delete;

    static QColor color(ThemeRole role, Appearance appearance, qreal opacity = 1.0);
    static QColor color(ThemeRole role, const QWidget *widget, qreal opacity = 1.0);

    static Appearance appearanceOf(const QPalette &palette);
    static Appearance appearanceOf(const QWidget *widget);

    // The stock controls' palette for one appearance (Fusion style).
    static QPalette palette(Appearance appearance);

    static ThemeRole valueColor(InventoryValueState state);
    static ThemeRole stateColor(DiagnosticState state);

    // `top` laid over an opaque `bottom`, as the screen shows it.
    static QColor over(const QColor &top, const QColor &bottom);

    // Keeps a widget's text roles (window text, text, button text) in `role`, also across appearance switches.
    static void setForeground(QWidget *widget, ThemeRole role, qreal opacity = 1.0);
};

} // namespace wrenlow
