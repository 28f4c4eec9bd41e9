#include "ui/components/SegmentedPicker.h"

#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace wrenlow {

namespace {

constexpr int pickerHeight = 26;
constexpr int inset = 2;
constexpr int titlePadding = 12;
constexpr qreal radius = 7;

} // namespace

SegmentedPicker::SegmentedPicker(const QStringList &titles, QWidget *parent)
    : QWidget(parent)
    , m_titles(titles)
{
    setFont(WrenlowFont::font(12, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedHeight(pickerHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SegmentedPicker::setCurrentIndex(int index)
{
    index = index >= 0 && index < count() ? index : -1;
    if (index == m_current)
        return;
    m_current = index;
    update();
}

QSize SegmentedPicker::sizeHint() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString &title : m_titles)
        widest = std::max(widest, metrics.horizontalAdvance(title));
    return {count() * (widest + 2 * titlePadding) + 2 * inset, pickerHeight};
}

QSize SegmentedPicker::minimumSizeHint() const
{
    return {count() * 2 * titlePadding, pickerHeight};
}

QRect SegmentedPicker::segmentRect(int index) const
{
    const qreal segment = qreal(width() - 2 * inset) / std::max(1, count());
    const int left = inset + int(std::lround(index * segment));
    const int right = inset + int(std::lround((index + 1) * segment));
    return {left, inset, right - left, height() - 2 * inset};
}

int SegmentedPicker::segmentAt(const QPoint &position) const
{
    for (int i = 0; i < count(); ++i) {
        if (segmentRect(i).contains(position))
            return i;
    }
    return -1;
}

void SegmentedPicker::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton ? segmentAt(event->position().toPoint()) : -1;
    update();
}

void SegmentedPicker::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(m_pressed, -1);
    update();
    if (pressed >= 0 && pressed == segmentAt(event->position().toPoint()))
        emit activated(pressed);
}

void SegmentedPicker::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Left ? -1 : (event->key() == Qt::Key_Right ? 1 : 0);
    if (step == 0 || count() == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int from = m_current < 0 ? (step > 0 ? -1 : count()) : m_current;
    emit activated(std::clamp(from + step, 0, count() - 1));
}

void SegmentedPicker::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    QPainterPath track;
    track.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.fillPath(track, WrenlowTheme::color(ThemeRole::FieldBackground, appearance));
    painter.setPen(QPen(WrenlowTheme::color(hasFocus() ? ThemeRole::Accent2 : ThemeRole::Line, appearance), 1));
    painter.drawPath(track);

    for (int i = 0; i < count(); ++i) {
        const QRect segment = segmentRect(i);
        if (i == m_current || i == m_pressed) {
            QPainterPath fill;
            fill.addRoundedRect(QRectF(segment), radius - inset, radius - inset);
            painter.fillPath(fill, WrenlowTheme::color(ThemeRole::Accent2, appearance, i == m_current ? 0.2 : 0.1));
        } else if (i > 0 && i - 1 != m_current) {
            painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, appearance), 1));
            painter.drawLine(QPointF(segment.left() + 0.5, segment.top() + 5),
                             QPointF(segment.left() + 0.5, segment.bottom() - 4));
        }
        painter.setPen(WrenlowTheme::color(i == m_current ? ThemeRole::Primary : ThemeRole::Secondary, appearance));
        painter.drawText(segment, Qt::AlignCenter, m_titles.at(i));
    }
}

} // namespace wrenlow
