#include "ui/components/PlainLabel.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace wrenlow {

QString cutOutsideText(const QString &clean, qsizetype cap)
{
    if (cap <= 0 || clean.size() <= cap)
        return clean;
    QString shown = clean.left(cap);
    if (shown.back().isHighSurrogate())
        shown.chop(1);
    return shown + QChar(0x2026);
}

QString outsideToolTip(const QString &clean)
{
    if (clean.isEmpty())
        return {};
    // A tooltip that looks like markup is rendered as rich text; escaping keeps it the plain text.
    return Qt::convertFromPlainText(cutOutsideText(clean, toolTipLengthCap), Qt::WhiteSpaceNormal);
}

QString cutOutsideToolTip(const QString &clean, qsizetype cap)
{
    return cap <= 0 || clean.size() <= cap ? QString() : outsideToolTip(clean);
}

PlainLabel::PlainLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

PlainLabel::PlainLabel(const QString &text, QWidget *parent)
    : PlainLabel(parent)
{
    setOutsideText(text);
}

void PlainLabel::setOutsideText(const QString &text)
{
    const QString clean = cleanOutsideText(text);
    if (clean == m_fullText && !QLabel::text().isNull())
        return;
    m_fullText = clean;
    refreshText();
}

void PlainLabel::setLengthCap(qsizetype cap)
{
    m_lengthCap = cap;
    refreshText();
}

void PlainLabel::setLineLimit(int lines)
{
    m_lineLimit = lines;
    forgetLines();
    updateGeometry();
    update();
}

void PlainLabel::setWholeTextInToolTip(bool whole)
{
    m_wholeTextInToolTip = whole;
    refreshText();
}

void PlainLabel::refreshText()
{
    forgetLines();
    setText(cutOutsideText(m_fullText, m_lengthCap));
    setToolTip(m_wholeTextInToolTip ? outsideToolTip(m_fullText) : cutOutsideToolTip(m_fullText, m_lengthCap));
}

void PlainLabel::forgetLines()
{
    m_lines = {};
}

void PlainLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        forgetLines();
    QLabel::changeEvent(event);
}

const PlainLabel::Lines &PlainLabel::visibleLines(int width) const
{
    if (m_lines.width == width)
        return m_lines;
    QStringList lines;
    QString lastTail; // the last line shown and whatever follows it in its paragraph
    bool cut = false;
    const QStringList paragraphs = text().split(QLatin1Char('\n'));
    for (qsizetype p = 0; p < paragraphs.size() && !cut; ++p) {
        if (m_lineLimit > 0 && lines.size() == m_lineLimit) {
            cut = true;
            break;
        }
        const QString &paragraph = paragraphs.at(p);
        QTextLayout layout(paragraph, font());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (m_lineLimit > 0 && lines.size() == m_lineLimit) {
                cut = true;
                break;
            }
            line.setLineWidth(width);
            lines.append(paragraph.mid(line.textStart(), line.textLength()));
            if (m_lineLimit > 0 && lines.size() == m_lineLimit)
                lastTail = paragraph.mid(line.textStart()).trimmed();
        }
        layout.endLayout();
    }
    if (cut && !lines.isEmpty()) {
        // The last line runs on as far as it can, so a long word is cut where the width ends, not before it.
        const QFontMetricsF metrics(font());
        QString last = metrics.elidedText(lastTail, Qt::ElideRight, width);
        if (last == lastTail) // the paragraph ended on that line and the next one is cut
            last = metrics.elidedText(lastTail + QChar(0x2026), Qt::ElideRight, width);
        lines.last() = last;
    }
    m_lines = {width, lines, cut};
    return m_lines;
}

int PlainLabel::heightForWidth(int width) const
{
    if (!wordWrap())
        return QLabel::heightForWidth(width);
    const int lines =
        int(visibleLines(std::max(1, width - contentsMargins().left() - contentsMargins().right())).lines.size());
    return int(std::ceil(std::max(1, lines) * QFontMetricsF(font()).lineSpacing())) + contentsMargins().top() +
           contentsMargins().bottom();
}

QSize PlainLabel::sizeHint() const
{
    if (!wordWrap())
        return QLabel::sizeHint();
    const QSize hint = QLabel::sizeHint();
    return {hint.width(), heightForWidth(hint.width())};
}

QSize PlainLabel::minimumSizeHint() const
{
    if (!wordWrap())
        return QLabel::minimumSizeHint();
    return {0, int(std::ceil(QFontMetricsF(font()).lineSpacing()))};
}

void PlainLabel::paintEvent(QPaintEvent *event)
{
    if (!wordWrap()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QRect area = contentsRect();
    const QStringList &lines = visibleLines(area.width()).lines;
    const qreal spacing = QFontMetricsF(font()).lineSpacing();
    // Placed in its area as a QLabel places its text: a row taller than the text centres it by default.
    const qreal spare = area.height() - lines.size() * spacing;
    qreal y = area.top();
    if (alignment() & Qt::AlignVCenter)
        y += std::max(0.0, spare / 2);
    else if (alignment() & Qt::AlignBottom)
        y += std::max(0.0, spare);
    // A long text is mostly out of sight in its scroll area: only the lines that reach the exposed part are drawn.
    const QRect exposed = event->rect();
    for (const QString &line : lines) {
        if (y + spacing >= exposed.top() && y <= exposed.bottom())
            painter.drawText(QRectF(area.left(), y, area.width(), spacing), int(alignment() | Qt::TextSingleLine),
                             line);
        y += spacing;
    }
}

} // namespace wrenlow
