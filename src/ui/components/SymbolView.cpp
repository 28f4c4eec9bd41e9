#include "ui/components/SymbolView.h"

#include "ui/theme/IconProvider.h"

#include <QPainter>

namespace wrenlow {

SymbolView::SymbolView(const QString &symbol, int pixelSize, ThemeRole color, QWidget *parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_pixelSize(pixelSize)
    , m_color(color)
{
    setMinimumSize(pixelSize, pixelSize);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolView::setColor(ThemeRole color, qreal opacity)
{
    if (color == m_color && opacity == m_opacity)
        return;
    m_color = color;
    m_opacity = opacity;
    update();
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF area(QPointF((width() - m_pixelSize) / 2.0, (height() - m_pixelSize) / 2.0),
                      QSizeF(m_pixelSize, m_pixelSize));
    IconProvider::paint(painter, area, m_symbol, WrenlowTheme::color(m_color, this, m_opacity));
}

} // namespace wrenlow
