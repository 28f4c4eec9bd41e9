#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

namespace wrenlow {

// One symbol of the icon set in a theme colour, redrawn in the other appearance's colour when it switches.
class SymbolView : public QWidget
{
    Q_OBJECT
public:
    SymbolView(const QString &symbol, int pixelSize, ThemeRole color, QWidget *parent = nullptr);

    void setSymbol(const QString &symbol);
    void setColor(ThemeRole color, qreal opacity = 1.0);
    QString symbol() const { return m_symbol; }
    ThemeRole color() const { return m_color; }

    QSize sizeHint() const override { return {m_pixelSize, m_pixelSize}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    int m_pixelSize;
    ThemeRole m_color;
    qreal m_opacity = 1.0;
};

} // namespace wrenlow
