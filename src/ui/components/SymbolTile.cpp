#include "ui/components/SymbolTile.h"

#include "ui/theme/IconProvider.h"

#include <QLinearGradient>
#include <QPainter>

namespace wrenlow {

SymbolTile::SymbolTile(const Style &style, QWidget *parent)
    : QWidget(parent)
    , m_style(style)
{
    setFixedSize(style.side, style.side);
}

void SymbolTile::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF area(rect());
    if (m_style.fill == Fill::AccentGradient) {
        const bool leftToRight = layoutDirection() == Qt::LeftToRight;
        QLinearGradient gradient(leftToRight ? area.topLeft() : area.topRight(),
                                 leftToRight ? area.bottomRight() : area.bottomLeft());
        gradient.setColorAt(0, WrenlowTheme::color(ThemeRole::Accent, this, 0.22));
        gradient.setColorAt(1, WrenlowTheme::color(ThemeRole::Accent2, this, 0.18));
        painter.setBrush(gradient);
    } else {
        painter.setBrush(WrenlowTheme::color(ThemeRole::Accent, this, 0.12));
    }
    painter.drawRoundedRect(area, m_style.radius, m_style.radius);

    const qreal symbol = m_style.symbolSize;
    const QRectF symbolArea(area.center() - QPointF(symbol / 2, symbol / 2), QSizeF(symbol, symbol));
    IconProvider::paint(painter, symbolArea, m_symbol, WrenlowTheme::color(m_style.symbolColor, this));
}

} // namespace wrenlow
