#pragma once

#include <QLayout>
#include <QList>

namespace wrenlow {

// Lays widgets out in rows of as many equal columns of at least a minimum width as the width allows, never fewer
// than one. Each widget keeps its own height and sits centred in its row, which is as tall as its tallest widget.
class AdaptiveGridLayout : public QLayout
{
    Q_OBJECT

public:
    explicit AdaptiveGridLayout(int minimumColumnWidth, int spacing, QWidget *parent = nullptr);
    ~AdaptiveGridLayout() override;

    int columnCount(int width) const;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect &rect) override;

private:
    // Places the items in the rectangle (only measures when placing is false); returns the height used.
    int arrange(const QRect &rect, bool placing) const;

    int m_minimumColumnWidth;
    int m_spacing;
    QList<QLayoutItem *> m_items;
};

} // namespace wrenlow
