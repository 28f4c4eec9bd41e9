#pragma once

#include <QWidget>

namespace wrenlow {

// A one-pixel divider in the theme's line colour: vertical between the sidebar and the pages, horizontal inside a
// card.
class Hairline : public QWidget
{
public:
    Hairline(Qt::Orientation orientation, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace wrenlow
