#include "ui/theme/WrenlowTheme.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <array>

namespace wrenlow {

namespace {

struct Pair
{
    QColor light;
    QColor dark;
};

QColor rgba(double red, double green, double blue, double alpha = 1.0)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}

Pair fixed(QColor color)
{
    return {color, color};
}

// Indexed by ThemeRole. The standard colours are the platform's system colours for each appearance.
const std::array<Pair, size_t(ThemeRole::Yellow) + 1> &table()
{
    static const std::array<Pair, size_t(ThemeRole::Yellow) + 1> colours = {{
        fixed(rgba(0.25, 0.82, 0.78)),
        fixed(rgba(0.49, 0.45, 0.98)),
        {rgba(0.933, 0.957, 0.973), rgba(0.035, 0.045, 0.075)},
        {rgba(0.973, 0.984, 0.992), rgba(0.055, 0.075, 0.12)},
        {rgba(0.918, 0.941, 0.961), rgba(0, 0, 0)},
        {rgba(1, 1, 1, 0.72), rgba(1, 1, 1, 0.035)},
        {rgba(0.75, 0.82, 0.86, 0.95), rgba(1, 1, 1, 0.1)},
        {rgba(0.38, 0.47, 0.55), rgba(1, 1, 1, 0.6)},
        {rgba(0.55, 0.62, 0.67), rgba(1, 1, 1, 0.36)},
        {rgba(0.953, 0.969, 0.98, 0.96), rgba(0, 0, 0, 0.16)},
        {rgba(0.98, 0.988, 0.996, 0.78), rgba(0, 0, 0, 0.1)},
        {rgba(0.06, 0.62, 0.74, 0.11), rgba(1, 1, 1, 0.1)},
        {rgba(0.97, 0.982, 0.99, 0.96), rgba(0, 0, 0, 0.2)},
        {rgba(0.9, 0.94, 0.96, 0.96), rgba(1, 1, 1, 0.07)},
        {rgba(0.11, 0.3, 0.38), rgba(1, 1, 1)},
        {rgba(0.95, 0.97, 0.98, 0.96), rgba(0.05, 0.09, 0.15, 0.86)},
        {rgba(0.21, 0.31, 0.38, 0.1), rgba(0, 0, 0, 0.22)},
        {rgba(0, 0, 0, 0.85), rgba(1, 1, 1, 0.85)},
        {rgba(0, 0, 0, 0.5), rgba(1, 1, 1, 0.55)},
        fixed(rgba(1, 1, 1)),
        fixed(rgba(0, 0, 0)),
        {rgba(0.204, 0.78, 0.349), rgba(0.188, 0.82, 0.345)},
        {rgba(1, 0.584, 0), rgba(1, 0.624, 0.039)},
        {rgba(1, 0.231, 0.188), rgba(1, 0.271, 0.227)},
        {rgba(1, 0.8, 0), rgba(1, 0.839, 0.039)},
    }};
    return colours;
}

// Re-applies a foreground role whenever the widget's palette changes (an appearance switch re-resolves it).
class ForegroundBinding : public QObject
{
public:
    ForegroundBinding(QWidget *widget, ThemeRole role, qreal opacity)
        : QObject(widget)
        , m_role(role)
        , m_opacity(opacity)
    {
        widget->installEventFilter(this);
        apply(widget);
    }

    void set(QWidget *widget, ThemeRole role, qreal opacity)
    {
        m_role = role;
        m_opacity = opacity;
        apply(widget);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange && watched == parent())
            apply(static_cast<QWidget *>(watched));
        return false;
    }

private:
    void apply(QWidget *widget) const
    {
        const QColor colour = WrenlowTheme::color(m_role, WrenlowTheme::appearanceOf(widget->palette()), m_opacity);
        // Only these roles are marked as set, so every other role keeps following the application palette.
        QPalette palette;
        palette.setResolveMask(0);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, colour);
        widget->setPalette(palette); // an unchanged palette is not set again, so this does not recurse
    }

    ThemeRole m_role;
    qreal m_opacity;
};

} // namespace

QColor WrenlowTheme::color(ThemeRole role, Appearance appearance, qreal opacity)
{
    const Pair &pair = table().at(size_t(role));
    QColor colour = appearance == Appearance::Dark ? pair.dark : pair.light;
    if (opacity < 1.0)
        colour.setAlphaF(colour.alphaF() * float(opacity));
    return colour;
}

QColor WrenlowTheme::color(ThemeRole role, const QWidget *widget, qreal opacity)
{
    return color(role, appearanceOf(widget), opacity);
}

QColor WrenlowTheme::over(const QColor &top, const QColor &bottom)
{
    const float a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a), top.greenF() * a + bottom.greenF() * (1 - a),
                            top.blueF() * a + bottom.blueF() * (1 - a));
}

Appearance WrenlowTheme::appearanceOf(const QPalette &palette)
{
    // The window colour is the first background stop, which is near white in the light look and near black
    // in the dark one; any palette not made here counts as light, like an appearance that matches neither.
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? Appearance::Dark : Appearance::Light;
}

Appearance WrenlowTheme::appearanceOf(const QWidget *widget)
{
    return appearanceOf(widget ? widget->palette() : QApplication::palette());
}

QPalette WrenlowTheme::palette(Appearance appearance)
{
    const auto c = [appearance](ThemeRole role) { return color(role, appearance); };
    const auto over = &WrenlowTheme::over; // stock controls need opaque fills; our widgets paint translucency
    const bool dark = appearance == Appearance::Dark;
    const QColor window = c(ThemeRole::BackgroundA);
    const QColor text = over(c(ThemeRole::Primary), window);
    const QColor base = over(c(ThemeRole::FieldBackground), c(ThemeRole::BackgroundB));
    const QColor button = over(c(ThemeRole::ControlBackground), window);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, over(c(ThemeRole::Selection), base));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::PlaceholderText, over(c(ThemeRole::Subtle), base));
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, c(ThemeRole::White));
    palette.setColor(QPalette::Highlight, dark ? rgba(0.16, 0.5, 0.56) : rgba(0.06, 0.62, 0.74));
    palette.setColor(QPalette::HighlightedText, c(ThemeRole::White));
    palette.setColor(QPalette::Link, c(ThemeRole::Accent));
    palette.setColor(QPalette::ToolTipBase, c(ThemeRole::BackgroundB));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, button.lighter(dark ? 140 : 110));
    palette.setColor(QPalette::Midlight, button.lighter(dark ? 120 : 105));
    palette.setColor(QPalette::Mid, over(c(ThemeRole::Line), window));
    palette.setColor(QPalette::Dark, over(c(ThemeRole::Line), window).darker(120));
    palette.setColor(QPalette::Shadow, rgba(0, 0, 0, dark ? 0.6 : 0.25));
    const QColor disabledText = over(c(ThemeRole::Subtle), window);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Button, over(c(ThemeRole::KeyBackground), window));
    return palette;
}

ThemeRole WrenlowTheme::valueColor(InventoryValueState state)
{
    switch (state) {
    case InventoryValueState::Good:
        return ThemeRole::Green;
    case InventoryValueState::Warning:
        return ThemeRole::Orange;
    case InventoryValueState::Normal:
        break;
    }
    return ThemeRole::Primary;
}

ThemeRole WrenlowTheme::stateColor(DiagnosticState state)
{
    switch (state) {
    case DiagnosticState::Ready:
        return ThemeRole::Accent;
    case DiagnosticState::Running:
        return ThemeRole::Yellow;
    case DiagnosticState::Pass:
        return ThemeRole::Green;
    case DiagnosticState::Fail:
        return ThemeRole::Red;
    case DiagnosticState::Review:
        return ThemeRole::Orange;
    case DiagnosticState::NotApplicable:
        break;
    }
    return ThemeRole::Secondary;
}

void WrenlowTheme::setForeground(QWidget *widget, ThemeRole role, qreal opacity)
{
    for (QObject *child : widget->children()) {
        if (auto *binding = dynamic_cast<ForegroundBinding *>(child)) {
            binding->set(widget, role, opacity);
            return;
        }
    }
    new ForegroundBinding(widget, role, opacity);
}

} // namespace wrenlow
