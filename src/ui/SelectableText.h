#pragma once

#include <QTextEdit>

namespace wrenlow {

// Read-only plain text that the technician can select and copy, wrapping anywhere (a path has few blanks) and
// growing in height to show every line; it scrolls never and draws no box of its own.
class SelectableText : public QTextEdit
{
    Q_OBJECT

public:
    explicit SelectableText(QWidget *parent = nullptr);

    void setText(const QString &text);
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
