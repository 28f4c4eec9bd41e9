#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

namespace wrenlow {

// A square rounded tile in a faint accent with one symbol centred on it: the Mac's icon in the Overview hero and
// each hardware card's icon.
class SymbolTile : public QWidget
{
    Q_OBJECT

public:
    enum class Fill {
        AccentTint,     // the accent at 12 %
        AccentGradient, // the accent at 22 % into the second accent at 18 %, top-leading to bottom-trailing
    };

    struct Style
    {
        Fill fill;
        int side;
        qreal radius;
        int symbolSize;
        ThemeRole symbolColor;
    };

    explicit SymbolTile(const Style &style, QWidget *parent = nullptr);

    void setSymbol(const QString &symbol);
    QString symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style m_style;
    QString m_symbol;
};

} // namespace wrenlow
