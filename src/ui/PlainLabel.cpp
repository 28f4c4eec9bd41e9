#include "ui/PlainLabel.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace wrenlow {

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
    updateGeometry();
    update();
}

void PlainLabel::refreshText()
{
    const bool capped = m_lengthCap > 0 && m_fullText.size() > m_lengthCap;
    QString shown = capped ? m_fullText.left(m_lengthCap) : m_fullText;
    // Never split a surrogate pair at the cut.
    if (capped && !shown.isEmpty() && shown.back().isHighSurrogate())
        shown.chop(1);
    setText(capped ? shown + QChar(0x2026) : shown);
    // A tooltip that looks like markup is rendered as rich text; escaping keeps it the plain full text.
    setToolTip(capped ? Qt::convertFromPlainText(m_fullText, Qt::WhiteSpaceNormal) : QString());
}

QStringList PlainLabel::visibleLines(int width, bool *cut) const
{
    QStringList lines;
    *cut = false;
    const QStringList paragraphs = text().split(QLatin1Char('\n'));
    for (qsizetype p = 0; p < paragraphs.size() && !*cut; ++p) {
        if (lines.size() == m_lineLimit) {
            *cut = true;
            break;
        }
        QTextLayout layout(paragraphs.at(p), font());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (lines.size() == m_lineLimit) {
                *cut = true;
                break;
            }
            line.setLineWidth(width);
            lines.append(paragraphs.at(p).mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    if (*cut && !lines.isEmpty()) {
        QString &last = lines.last();
        last = QFontMetricsF(font()).elidedText(last.trimmed() + QChar(0x2026), Qt::ElideRight, width);
    }
    return lines;
}

int PlainLabel::heightForWidth(int width) const
{
    if (m_lineLimit <= 0)
        return QLabel::heightForWidth(width);
    bool cut = false;
    const int lines =
        int(visibleLines(std::max(1, width - contentsMargins().left() - contentsMargins().right()), &cut).size());
    return int(std::ceil(std::max(1, lines) * QFontMetricsF(font()).lineSpacing())) + contentsMargins().top() +
           contentsMargins().bottom();
}

QSize PlainLabel::sizeHint() const
{
    if (m_lineLimit <= 0)
        return QLabel::sizeHint();
    const QSize hint = QLabel::sizeHint();
    return {hint.width(), heightForWidth(hint.width())};
}

QSize PlainLabel::minimumSizeHint() const
{
    if (m_lineLimit <= 0)
        return QLabel::minimumSizeHint();
    return {0, int(std::ceil(QFontMetricsF(font()).lineSpacing()))};
}

void PlainLabel::paintEvent(QPaintEvent *event)
{
    if (m_lineLimit <= 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QRect area = contentsRect();
    bool cut = false;
    const QStringList lines = visibleLines(area.width(), &cut);
    const qreal spacing = QFontMetricsF(font()).lineSpacing();
    qreal y = area.top();
    for (const QString &line : lines) {
        painter.drawText(QRectF(area.left(), y, area.width(), spacing), int(alignment() | Qt::TextSingleLine), line);
        y += spacing;
    }
}

} // namespace wrenlow
