#pragma once

#include <QList>
#include <QString>
#include <QWidget>

namespace wrenlow {

// Plain text that wraps to the width it is given, breaking inside long words when it must, and ends the last
// allowed line with an ellipsis. It never renders markup, so a gateway's own text shows exactly as sent, and
// it never asks for more width than it is offered, so a long token cannot widen its card.
class ElidingLabel : public QWidget
{
    Q_OBJECT

public:
    // maxLines 0 lets the text take as many lines as it needs.
    explicit ElidingLabel(int maxLines = 0, QWidget *parent = nullptr);

    // Shows text with line breaks and other control characters as blanks, cut to a length a line of the page
    // can carry; the whole text, when anything was left out, goes to the tooltip.
    void setText(const QString &text);
    QString text() const { return m_text; }
    // True when the text shown is not the whole text.
    bool isElided() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Line
    {
        QString text;
        bool elided = false;
    };
    const QList<Line> &linesFor(int width) const;
    void textChanged();
    void updateToolTip();

    int m_maxLines;
    QString m_text;
    QString m_shown;
    bool m_cut = false;
    mutable int m_layoutWidth = -1;
    mutable QList<Line> m_lines;
};

} // namespace wrenlow
