#include "ui/components/SelectableText.h"

#include "ui/components/PlainLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextDocument>

#include <cmath>

namespace wrenlow {

SelectableText::SelectableText(QWidget *parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setLineWrapMode(QTextEdit::WidgetWidth);
    document()->setDocumentMargin(0);
    // The card shows through; a style sheet would do the same at many times the cost per widget.
    viewport()->setAutoFillBackground(false);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SelectableText::setText(const QString &text)
{
    const QString clean = cleanOutsideText(text);
    setToolTip(cutOutsideToolTip(clean, PlainLabel::defaultLengthCap));
    const QString shown = cutOutsideText(clean, PlainLabel::defaultLengthCap);
    if (shown == toPlainText())
        return;
    setPlainText(shown);
    m_cachedWidth = -1;
    updateGeometry();
}

int SelectableText::heightForWidth(int width) const
{
    if (width == m_cachedWidth)
        return m_cachedHeight;
    QTextDocument measure;
    measure.setDocumentMargin(0);
    measure.setDefaultFont(font());
    QTextOption option;
    option.setWrapMode(wordWrapMode());
    measure.setDefaultTextOption(option);
    measure.setPlainText(toPlainText());
    measure.setTextWidth(std::max(width, 1));
    m_cachedWidth = width;
    m_cachedHeight = int(std::ceil(measure.size().height()));
    return m_cachedHeight;
}

QSize SelectableText::sizeHint() const
{
    const int natural = 40 * QFontMetrics(font()).averageCharWidth();
    return {natural, heightForWidth(natural)};
}

QSize SelectableText::minimumSizeHint() const
{
    return {QFontMetrics(font()).averageCharWidth() * 4, QFontMetrics(font()).height()};
}

void SelectableText::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    // A box layout does not always ask again for the height when only the width changed.
    if (height() != heightForWidth(width()))
        updateGeometry();
}

void SelectableText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_cachedWidth = -1;
        updateGeometry();
    }
    QTextEdit::changeEvent(event);
}

} // namespace wrenlow
