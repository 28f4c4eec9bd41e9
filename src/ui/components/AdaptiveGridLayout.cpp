#include "ui/components/AdaptiveGridLayout.h"

#include <QWidget>

#include <algorithm>

namespace wrenlow {

AdaptiveGridLayout::AdaptiveGridLayout(int minimumColumnWidth, int spacing, QWidget *parent)
    : QLayout(parent)
    , m_minimumColumnWidth(minimumColumnWidth)
    , m_spacing(spacing)
{}

AdaptiveGridLayout::~AdaptiveGridLayout()
{
    qDeleteAll(m_items);
}

int AdaptiveGridLayout::columnCount(int width) const
{
    return std::max(1, (width + m_spacing) / (m_minimumColumnWidth + m_spacing));
}

void AdaptiveGridLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
}

int AdaptiveGridLayout::count() const
{
    return static_cast<int>(m_items.size());
}

QLayoutItem *AdaptiveGridLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem *AdaptiveGridLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

QSize AdaptiveGridLayout::sizeHint() const
{
    const int width = m_minimumColumnWidth;
    return {width, heightForWidth(width)};
}

QSize AdaptiveGridLayout::minimumSize() const
{
    // Narrower than one column still gives one column of the whole width, so no item's minimum is raised.
    int width = 0;
    for (const QLayoutItem *item : m_items)
        width = std::max(width, item->minimumSize().width());
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), 0};
}

Qt::Orientations AdaptiveGridLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool AdaptiveGridLayout::hasHeightForWidth() const
{
    return true;
}

int AdaptiveGridLayout::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

void AdaptiveGridLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int AdaptiveGridLayout::arrange(const QRect &rect, bool placing) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    QList<QLayoutItem *> visible;
    for (QLayoutItem *item : m_items)
        if (!item->isEmpty())
            visible.append(item);

    const int columns = columnCount(area.width());
    const int columnWidth = std::max(0, (area.width() - (columns - 1) * m_spacing) / columns);
    // Whole-pixel columns leave at most a few pixels over; split them on both sides so the grid stays centred.
    const int left = area.left() + (area.width() - columns * columnWidth - (columns - 1) * m_spacing) / 2;
    int top = area.top();
    for (qsizetype first = 0; first < visible.size(); first += columns) {
        const qsizetype end = std::min(visible.size(), first + columns);
        QList<int> heights;
        for (qsizetype index = first; index < end; ++index) {
            const QLayoutItem *item = visible[index];
            heights.append(item->hasHeightForWidth() ? item->heightForWidth(columnWidth) : item->sizeHint().height());
        }
        const int rowHeight = *std::max_element(heights.cbegin(), heights.cend());
        if (placing)
            for (qsizetype index = first; index < end; ++index) {
                const int column = static_cast<int>(index - first);
                const int height = heights[column];
                visible[index]->setGeometry(QRect(left + column * (columnWidth + m_spacing),
                                                  top + (rowHeight - height) / 2, columnWidth, height));
            }
        top += rowHeight + m_spacing;
    }
    if (!visible.isEmpty())
        top -= m_spacing;
    return top - area.top() + contentsMargins().top() + contentsMargins().bottom();
}

} // namespace wrenlow
