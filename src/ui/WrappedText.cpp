#include "ui/WrappedText.h"

#include "ui/PlainLabel.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace wrenlow {

WrappedText::WrappedText(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    QTextOption option(Qt::AlignLeading | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);
}

void WrappedText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_shown = cleanOutsideText(text);
    // The layout ends lines only at its own separator; the same length keeps selection offsets valid.
    m_layout.setText(QString(m_shown).replace(QLatin1Char('\n'), QChar::LineSeparator));
    forgetLayout();
    m_anchor = m_position = 0;
    updateGeometry();
    update();
}

void WrappedText::setSelectable(bool selectable)
{
    m_selectable = selectable;
    setFocusPolicy(selectable ? Qt::ClickFocus : Qt::NoFocus);
    if (selectable)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
    select(0, 0);
}

QString WrappedText::selectedText() const
{
    const int start = std::min(m_anchor, m_position);
    return m_shown.mid(start, std::abs(m_position - m_anchor));
}

const QTextLayout &WrappedText::laidOut(int width) const
{
    width = std::max(1, width);
    if (width == m_layoutWidth)
        return m_layout;
    m_layout.setFont(font());
    m_layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    m_layout.endLayout();
    m_layoutWidth = width;
    m_layoutHeight = std::max(y, QFontMetricsF(font()).height());
    return m_layout;
}

void WrappedText::forgetLayout()
{
    m_layoutWidth = -1;
    m_knownHeights.fill({});
    m_naturalWidth = -1;
}

int WrappedText::heightForWidth(int width) const
{
    for (const KnownHeight &known : m_knownHeights)
        if (known.width == width)
            return known.height;
    const QMargins margins = contentsMargins();
    laidOut(width - margins.left() - margins.right());
    const int height = static_cast<int>(std::ceil(m_layoutHeight)) + margins.top() + margins.bottom();
    m_knownHeights[m_nextKnownHeight] = {width, height};
    m_nextKnownHeight = (m_nextKnownHeight + 1) % m_knownHeights.size();
    return height;
}

QSize WrappedText::sizeHint() const
{
    if (m_naturalWidth < 0) {
        const QFontMetricsF metrics(font());
        qreal widest = 0;
        for (const QString &paragraph : m_shown.split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(paragraph));
        m_naturalWidth = static_cast<int>(std::ceil(widest));
    }
    const int width = m_naturalWidth + contentsMargins().left() + contentsMargins().right();
    return {width, heightForWidth(width)};
}

QSize WrappedText::minimumSizeHint() const
{
    // Any width will do: the text breaks wherever it must.
    return {0, static_cast<int>(std::ceil(QFontMetricsF(font()).height()))};
}

void WrappedText::paintEvent(QPaintEvent *)
{
    const QRect area = contentsRect();
    const QTextLayout &layout = laidOut(area.width());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    QList<QTextLayout::FormatRange> selections;
    if (m_anchor != m_position) {
        QTextLayout::FormatRange range;
        range.start = std::min(m_anchor, m_position);
        range.length = std::abs(m_position - m_anchor);
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(range);
    }
    layout.draw(&painter, area.topLeft(), selections);
}

void WrappedText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        forgetLayout();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

int WrappedText::positionAt(const QPoint &point) const
{
    const QRect area = contentsRect();
    const QTextLayout &layout = laidOut(area.width());
    const QPointF local = point - area.topLeft();
    for (int index = 0; index < layout.lineCount(); ++index) {
        const QTextLine line = layout.lineAt(index);
        if (local.y() < line.rect().bottom() || index == layout.lineCount() - 1)
            return line.xToCursor(local.x());
    }
    return 0;
}

void WrappedText::select(int anchor, int position)
{
    if (anchor == m_anchor && position == m_position)
        return;
    m_anchor = anchor;
    m_position = position;
    update();
}

void WrappedText::mousePressEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int position = positionAt(event->position().toPoint());
    select(position, position);
}

void WrappedText::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selectable || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    select(m_anchor, positionAt(event->position().toPoint()));
}

void WrappedText::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const int position = positionAt(event->position().toPoint());
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, m_shown);
    words.setPosition(position);
    const qsizetype start = words.isAtBoundary() ? position : words.toPreviousBoundary();
    words.setPosition(position);
    const qsizetype end = words.toNextBoundary();
    select(static_cast<int>(std::max<qsizetype>(0, start)), static_cast<int>(end < 0 ? m_shown.size() : end));
}

void WrappedText::keyPressEvent(QKeyEvent *event)
{
    if (m_selectable && event->matches(QKeySequence::Copy)) {
        if (m_anchor != m_position)
            QGuiApplication::clipboard()->setText(selectedText());
        return;
    }
    if (m_selectable && event->matches(QKeySequence::SelectAll)) {
        select(0, static_cast<int>(m_shown.size()));
        return;
    }
    QWidget::keyPressEvent(event);
}

void WrappedText::focusOutEvent(QFocusEvent *event)
{
    // Only one text holds a selection at a time, as with the platform's labels; its own menu keeps it.
    if (event->reason() != Qt::PopupFocusReason)
        select(0, 0);
    QWidget::focusOutEvent(event);
}

void WrappedText::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_selectable) {
        QWidget::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    QAction *copy =
        menu.addAction(QStringLiteral("Copy"), this, [this] { QGuiApplication::clipboard()->setText(selectedText()); });
    copy->setEnabled(m_anchor != m_position);
    menu.addAction(QStringLiteral("Select All"), this, [this] { select(0, static_cast<int>(m_shown.size())); });
    menu.exec(event->globalPos());
}

} // namespace wrenlow
