#pragma once

#include <QRectF>
#include <QTransform>
#include <QWidget>

namespace wrenlow {

// A one-point divider in the theme's line colour: vertical between the sidebar and the pages, horizontal inside a
// card; drawn on whole device pixels at any scale.
class Hairline : public QWidget
{
public:
    Hairline(Qt::Orientation orientation, QWidget *parent);

    // Where a hairline along `area` (one point across) lies once snapped to the device pixels of `toDevice`.
    static QRectF snappedLine(const QTransform &toDevice, const QRect &area, Qt::Orientation orientation);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Orientation m_orientation;
};

} // namespace wrenlow
