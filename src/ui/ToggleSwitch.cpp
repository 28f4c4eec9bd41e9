#include "ui/ToggleSwitch.h"

#include <QPainter>
#include <QPainterPath>

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
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colours = palette();

    const QRectF track(width() - trackWidth - 1, (height() - trackHeight) / 2.0, trackWidth, trackHeight);
    if (!text().isEmpty()) {
        painter.setPen(colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(QRectF(0, 0, track.left() - titleGap, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

    QColor trackColour = isChecked() ? colours.color(QPalette::Highlight) : colours.color(QPalette::Mid);
    if (!isEnabled())
        trackColour.setAlphaF(trackColour.alphaF() * 0.5f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(trackColour);
    painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);

    const qreal knob = trackHeight - 2 * knobInset;
    const qreal knobX = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    painter.setBrush(QColor(Qt::white));
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.drawEllipse(QRectF(knobX, track.top() + knobInset, knob, knob));

    if (hasFocus()) {
        QColor ring = colours.color(QPalette::Highlight);
        ring.setAlphaF(0.5f);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, 2));
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), trackHeight / 2.0 + 1, trackHeight / 2.0 + 1);
    }
}

} // namespace wrenlow
