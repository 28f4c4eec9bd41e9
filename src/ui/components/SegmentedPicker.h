#pragma once

#include <QStringList>
#include <QWidget>

namespace wrenlow {

// A row of segments of which at most one is selected, as a segmented picker. It selects nothing on its own:
// a click or an arrow key reports the segment through activated(), and the owner shows the resulting value
// with setCurrentIndex() (-1 selects none).
class SegmentedPicker : public QWidget
{
    Q_OBJECT
public:
    explicit SegmentedPicker(const QStringList &titles, QWidget *parent = nullptr);

    void setCurrentIndex(int index);
    int currentIndex() const { return m_current; }
    int count() const { return int(m_titles.size()); }
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void activated(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int segmentAt(const QPoint &position) const;

    QStringList m_titles;
    int m_current = -1;
    int m_pressed = -1;
};

} // namespace wrenlow
