#pragma once

#include "common/TextRules.h"

#include <QLabel>

namespace wrenlow {

// What is shown of a cleaned outside text longer than `cap` characters (0: no cap): its start, never cut inside a
// surrogate pair, and an ellipsis.
QString cutOutsideText(const QString &clean, qsizetype cap);
// The tooltip that carries a text cut at `cap` whole, as plain text; empty when nothing was cut. A text past
// toolTipLengthCap is cut there too: a tooltip of a megabyte would hold the window up while it is laid out.
QString cutOutsideToolTip(const QString &clean, qsizetype cap);
// A tooltip that holds a cleaned outside text whole (up to toolTipLengthCap); empty for an empty text.
QString outsideToolTip(const QString &clean);
inline constexpr qsizetype toolTipLengthCap = 4000;

// A label for text from outside: always plain text (a QLabel would otherwise render HTML from a gateway),
// cleaned, cut after a length cap with the whole text in the tooltip, and optionally cut after a number of
// lines with an ellipsis. Wrapped text breaks inside a word when one is wider than the label, so no text from
// outside can make its page wider than the window.
class PlainLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PlainLabel(QWidget *parent = nullptr);
    explicit PlainLabel(const QString &text, QWidget *parent = nullptr);

    void setOutsideText(const QString &text);
    QString outsideText() const { return m_fullText; }

    // Characters shown at most; 0 shows everything.
    void setLengthCap(qsizetype cap);
    // Lines shown at most, the last one ending in an ellipsis when cut; 0 shows every line.
    void setLineLimit(int lines);
    // Whether the tooltip holds the whole text also when it is not cut at the length cap (for a label whose line
    // limit may cut it).
    void setWholeTextInToolTip(bool whole);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

    // Characters shown by default: a page of text, the most any real status or value reaches, shown whole. Only
    // a broken or hostile source sends more (a gateway answer may hold megabytes); its text is cut here, so that no
    // text holds the window up while it is laid out.
    static constexpr qsizetype defaultLengthCap = 20000;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Lines
    {
        int width = -1;
        QStringList lines;
        bool cut = false;
    };

    void refreshText();
    void forgetLines();
    // The lines the text takes at a width, laid out once per width: layouts ask for the height many times.
    const Lines &visibleLines(int width) const;

    QString m_fullText;
    mutable Lines m_lines;
    qsizetype m_lengthCap = defaultLengthCap;
    int m_lineLimit = 0;
    bool m_wholeTextInToolTip = false;
};

} // namespace wrenlow
