#include "ui/components/FieldFrame.h"

#include "ui/theme/WrenlowTheme.h"

#include <QPainter>
#include <QPainterPath>
#include <QHBoxLayout>

namespace wrenlow {

FieldFrame::FieldFrame(QWidget *content, const QMargins &padding, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(padding);
    layout->addWidget(content);
    setFocusProxy(content);
}

void FieldFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBox(painter, rect(), WrenlowTheme::appearanceOf(this));
}

void FieldFrame::paintBox(QPainter &painter, const QRect &area, Appearance appearance, ThemeRole outline)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(box, WrenlowTheme::color(ThemeRole::FieldBackground, appearance));
    painter.setPen(QPen(WrenlowTheme::color(outline, appearance), 1));
    painter.drawPath(box);
}

} // namespace wrenlow
