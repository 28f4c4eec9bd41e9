#include "ui/components/ToggleSwitch.h"

#include "ui/theme/WrenlowTheme.h"

#include <QPainter>

namespace wrenlow {

namespace {

// The small control size of a platform switch.
constexpr int trackWidth = 26;
constexpr int trackHeight = 15;
constexpr int knobInset = 2;
constexpr int titleGap = 6;

} // namespace

ToggleSwitch::ToggleSwitch(const QString &title, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(title);
    setCheckable(true);
    // Clicking the switch must not pull focus away from the field being typed in.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ToggleSwitch::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int titleWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text()) + titleGap;
    return {titleWidth + trackWidth + 2, std::max(metrics.height(), trackHeight) + 2};
}

void ToggleSwitch::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    const QRectF track(width() - trackWidth - 1, (height() - trackHeight) / 2.0, trackWidth, trackHeight);
    if (!text().isEmpty()) {
        painter.setPen(WrenlowTheme::color(ThemeRole::Primary, appearance));
        painter.drawText(QRectF(0, 0, track.left() - titleGap, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? WrenlowTheme::color(ThemeRole::Accent2, appearance)
                                 : WrenlowTheme::color(ThemeRole::Secondary, appearance, 0.28));
    painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);

    const qreal knob = trackHeight - 2 * knobInset;
    const qreal knobX = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    painter.setBrush(WrenlowTheme::color(ThemeRole::White, appearance));
    painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Black, appearance, 0.15), 0.5));
    painter.drawEllipse(QRectF(knobX, track.top() + knobInset, knob, knob));

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Accent2, appearance, 0.5), 2));
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), trackHeight / 2.0 + 1, trackHeight / 2.0 + 1);
    }
}

} // namespace wrenlow
