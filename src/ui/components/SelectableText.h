#pragma once

#include <QTextEdit>

namespace wrenlow {

// Read-only plain text from outside that the technician can select and copy, with the platform's own selection,
// keys and menu. It wraps anywhere (a path has few blanks) unless given another wrap mode, and grows in height to
// show every line; it scrolls never and draws no box of its own. Like every text from outside it is cleaned and
// cut after PlainLabel's length cap, the whole text in its tooltip.
class SelectableText : public QTextEdit
{
    Q_OBJECT

public:
    explicit SelectableText(QWidget *parent = nullptr);

    void setText(const QString &text);
    // What is shown: the text cleaned, and cut when it is long.
    QString text() const { return toPlainText(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    mutable int m_cachedWidth = -1;
    mutable int m_cachedHeight = 0;
};

} // namespace wrenlow
