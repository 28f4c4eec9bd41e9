#include "ui/ElidingLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace wrenlow {

namespace {

// Longer than any status text of our own; a gateway's text beyond it goes to the tooltip only.
constexpr qsizetype shownLimit = 600;
constexpr qsizetype tooltipLimit = 4000;

QString withoutControls(QString text)
{
    for (QChar &character : text) {
        if (character.category() == QChar::Other_Control || character == QChar::LineSeparator ||
            character == QChar::ParagraphSeparator)
            character = u' ';
    }
    return text;
}

QString cut(const QString &text, qsizetype limit)
{
    return text.size() <= limit ? text : text.left(limit - 1) + QChar(0x2026);
}

} // namespace

ElidingLabel::ElidingLabel(int maxLines, QWidget *parent)
    : QWidget(parent)
    , m_maxLines(maxLines)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ElidingLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    const QString plain = withoutControls(text);
    m_shown = cut(plain, shownLimit);
    m_cut = m_shown.size() != plain.size();
    textChanged();
}

bool ElidingLabel::isElided() const
{
    if (m_cut)
        return true;
    for (const Line &line : linesFor(width()))
        if (line.elided)
            return true;
    return false;
}

void ElidingLabel::textChanged()
{
    m_layoutWidth = -1;
    updateToolTip();
    updateGeometry();
    update();
}

void ElidingLabel::updateToolTip()
{
    // A tooltip is rich text when it looks like markup: escape it so the whole text stays plain.
    setToolTip(isElided() ? QStringLiteral("<p style='white-space:pre-wrap'>") +
                                cut(m_text, tooltipLimit).toHtmlEscaped() + QStringLiteral("</p>")
                          : QString());
}

const QList<ElidingLabel::Line> &ElidingLabel::linesFor(int width) const
{
    width = std::max(width, 1);
    if (width == m_layoutWidth)
        return m_lines;
    m_layoutWidth = width;
    m_lines.clear();
    if (m_shown.isEmpty())
        return m_lines;

    QTextLayout layout(m_shown, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const bool last = m_maxLines > 0 && m_lines.size() == m_maxLines - 1;
        const bool more = line.textStart() + line.textLength() < m_shown.size();
        if (last && more) {
            const QString rest = m_shown.mid(line.textStart());
            m_lines.append({QFontMetrics(font()).elidedText(rest, Qt::ElideRight, width), true});
            break;
        }
        m_lines.append({m_shown.mid(line.textStart(), line.textLength()), false});
    }
    layout.endLayout();
    return m_lines;
}

QSize ElidingLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    // A modest natural width: the label takes what its column gives rather than setting the column's width.
    const int natural = std::min(metrics.horizontalAdvance(m_shown), 40 * metrics.averageCharWidth());
    return {natural, heightForWidth(std::max(natural, 1))};
}

QSize ElidingLabel::minimumSizeHint() const
{
    return {QFontMetrics(font()).averageCharWidth() * 4, QFontMetrics(font()).height()};
}

int ElidingLabel::heightForWidth(int width) const
{
    return int(linesFor(width).size()) * QFontMetrics(font()).lineSpacing();
}

void ElidingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    int y = metrics.ascent();
    for (const Line &line : linesFor(width())) {
        painter.drawText(QPoint(0, y), line.text);
        y += metrics.lineSpacing();
    }
}

void ElidingLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_layoutWidth = -1;
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

void ElidingLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Whether the text fits, and so the tooltip, depends on the width.
    updateToolTip();
}

} // namespace wrenlow
