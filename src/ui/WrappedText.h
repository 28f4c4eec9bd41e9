#pragma once

#include <QTextLayout>
#include <QWidget>

#include <array>

namespace wrenlow {

// Text from the scan that wraps onto as many lines as it needs, breaking inside a word when one word is wider
// than the space (a QLabel would widen or clip instead). Optionally the technician can select it with the mouse
// and copy it.
class WrappedText : public QWidget
{
    Q_OBJECT

public:
    explicit WrappedText(QWidget *parent = nullptr);

    // Shown without control characters, as every text from outside the program.
    void setText(const QString &text);
    QString text() const { return m_text; }

    void setSelectable(bool selectable);
    QString selectedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Lays the text out for this width unless it already is; returns the layout.
    const QTextLayout &laidOut(int width) const;
    void forgetLayout();
    int positionAt(const QPoint &point) const;
    void select(int anchor, int position);

    QString m_text;
    QString m_shown;
    bool m_selectable = false;
    int m_anchor = 0;
    int m_position = 0;
    mutable QTextLayout m_layout;
    mutable int m_layoutWidth = -1;
    mutable qreal m_layoutHeight = 0;
    // Layouts ask for the height at a few widths in turn (with and without a scroll bar, each column count), and
    // each new layout shapes the text again; remembering recent answers keeps a resize cheap.
    struct KnownHeight
    {
        int width = -1;
        int height = 0;
    };
    mutable std::array<KnownHeight, 4> m_knownHeights;
    mutable std::size_t m_nextKnownHeight = 0;
    mutable int m_naturalWidth = -1;
};

} // namespace wrenlow
