#include "ui/components/TintedButton.h"

#include "ui/components/Spinner.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/WrenlowFont.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace wrenlow {

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// White on a fill only where it stays readable (at least 3:1); on a light tint such as the accent it would not
// (under 2:1), so the label there is a dark ink, black let through by a little of the tint.
std::pair<ThemeRole, qreal> prominentLabel(ThemeRole tint)
{
    const double fill = relativeLuminance(WrenlowTheme::color(tint, Appearance::Light));
    return (1.05 / (fill + 0.05)) >= 3.0 ? std::pair{ThemeRole::White, 1.0} : std::pair{ThemeRole::Black, 0.8};
}

// Disabled, a prominent button keeps a pale wash of its tint and writes its label in the theme's own text
// colour, dimmed: dark on a pale tint in the light look, light on a deep tint in the dark one.
constexpr qreal disabledFill = 0.45;
constexpr qreal disabledLabel = 0.7;

} // namespace

TintedButton::TintedButton(const QString &text, Style style, std::optional<ThemeRole> tint, QWidget *parent)
    : QAbstractButton(parent)
    , m_style(style)
    , m_tint(tint)
    , m_spinner(new Spinner(12, ThemeRole::Primary, this))
{
    setText(text);
    setFont(WrenlowFont::font(12, QFont::DemiBold));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setFixedHeight(28);
    m_spinner->hide();
    colourSpinner();
}

void TintedButton::colourSpinner()
{
    if (m_style == Style::Bordered)
        m_spinner->setColor(m_tint.value_or(ThemeRole::Primary));
    else
        m_spinner->setColor(isEnabled() ? prominentLabel(m_tint.value_or(ThemeRole::Accent)).first
                                        : ThemeRole::Primary);
}

void TintedButton::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    updateGeometry();
    update();
}

void TintedButton::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_spinner->setVisible(busy);
    placeSpinner();
    updateGeometry();
    update();
}

void TintedButton::setTint(std::optional<ThemeRole> tint)
{
    m_tint = tint;
    colourSpinner();
    update();
}

void TintedButton::setHorizontalPadding(int padding)
{
    m_padding = padding;
    updateGeometry();
}

void TintedButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    updateGeometry();
}

int TintedButton::iconSize() const
{
    return font().pixelSize() > 0 ? font().pixelSize() : 12;
}

int TintedButton::labelWidth() const
{
    const bool hasIcon = m_busy || !m_symbol.isEmpty();
    const int textWidth = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text())));
    return (hasIcon ? iconSize() + (text().isEmpty() ? 0 : m_spacing) : 0) + textWidth;
}

QSize TintedButton::sizeHint() const
{
    return {labelWidth() + 2 * m_padding, height() > 0 ? height() : 28};
}

void TintedButton::setLeadingLabel(bool leading)
{
    m_leading = leading;
    placeSpinner();
    update();
}

QRect TintedButton::iconRect() const
{
    const int left = m_leading ? m_padding : (width() - labelWidth()) / 2;
    return {left, (height() - iconSize()) / 2, iconSize(), iconSize()};
}

void TintedButton::placeSpinner()
{
    m_spinner->move(iconRect().center() - QPoint(m_spinner->width() / 2, m_spinner->height() / 2) + QPoint(1, 1));
}

void TintedButton::resizeEvent(QResizeEvent *event)
{
    placeSpinner();
    QAbstractButton::resizeEvent(event);
}

void TintedButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        placeSpinner();
    } else if (event->type() == QEvent::EnabledChange) {
        colourSpinner();
    }
    QAbstractButton::changeEvent(event);
}

void TintedButton::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled() && m_style == Style::Bordered)
        painter.setOpacity(0.45);

    const bool pressed = isDown();
    const bool hovered = underMouse() && isEnabled();
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    QColor labelColour;
    if (m_style == Style::Prominent) {
        const ThemeRole tint = m_tint.value_or(ThemeRole::Accent);
        QColor fill = WrenlowTheme::color(tint, appearance, isEnabled() ? 1.0 : disabledFill);
        fill = pressed ? fill.darker(115) : (hovered ? fill.lighter(106) : fill);
        painter.fillPath(shape, fill);
        const auto [role, opacity] = isEnabled() ? prominentLabel(tint) : std::pair{ThemeRole::Primary, disabledLabel};
        labelColour = WrenlowTheme::color(role, appearance, opacity);
    } else {
        const ThemeRole role = m_tint.value_or(ThemeRole::Primary);
        const qreal fill = m_tint ? (pressed ? 0.24 : (hovered ? 0.18 : 0.12)) : (pressed ? 0.14 : 0.08);
        painter.fillPath(shape, WrenlowTheme::color(role, appearance, fill));
        painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, appearance), 1));
        painter.drawPath(shape);
        labelColour = WrenlowTheme::color(role, appearance);
    }

    const QRect icon = iconRect();
    if (!m_busy && !m_symbol.isEmpty())
        IconProvider::paint(painter, icon, m_symbol, labelColour);
    const bool hasIcon = m_busy || !m_symbol.isEmpty();
    const int textLeft = hasIcon ? icon.right() + 1 + m_spacing : icon.left();
    painter.setPen(labelColour);
    painter.setFont(font());
    painter.drawText(QRect(textLeft, 0, width() - textLeft, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace wrenlow
