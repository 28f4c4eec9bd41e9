#include "ui/Hairline.h"

#include "ui/WrenlowTheme.h"

#include <QPainter>

namespace wrenlow {

Hairline::Hairline(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
{
    if (orientation == Qt::Vertical)
        setFixedWidth(1);
    else
        setFixedHeight(1);
}

void Hairline::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), WrenlowTheme::color(ThemeRole::Line, this));
}

} // namespace wrenlow
