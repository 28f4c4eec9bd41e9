#pragma once

#include "common/TextRules.h"

#include <QLabel>

namespace wrenlow {

// A label for text from outside: always plain text (a QLabel would otherwise render HTML from a gateway),
// cleaned, cut after a length cap with the whole text in the tooltip, and optionally cut after a number of
// lines with an ellipsis.
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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

    static constexpr qsizetype defaultLengthCap = 600;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshText();
    QStringList visibleLines(int width, bool *cut) const;

    QString m_fullText;
    qsizetype m_lengthCap = defaultLengthCap;
    int m_lineLimit = 0;
};

} // namespace wrenlow
