#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QAbstractButton>

#include <optional>

namespace wrenlow {

class Spinner;

// A push button drawn in the theme: prominent (filled with its tint, the label white or, on a light tint, dark)
// or bordered (a faint tint fill and a hairline, label in the tint). The label is an optional symbol, or a spinner
// while busy, then the text. Clicking does not take keyboard focus, so a following Space cannot press it again.
class TintedButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum class Style { Prominent, Bordered };

    TintedButton(const QString &text, Style style, std::optional<ThemeRole> tint, QWidget *parent = nullptr);

    void setSymbol(const QString &symbol);
    // Shows a small spinner in place of the symbol.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    void setTint(std::optional<ThemeRole> tint);
    // Space between the label's edge and the button's left and right edges.
    void setHorizontalPadding(int padding);
    void setSpacing(int spacing);
    // Puts symbol and text at the leading edge (after the padding) instead of in the middle.
    void setLeadingLabel(bool leading);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int iconSize() const;
    int labelWidth() const;
    QRect iconRect() const;
    void placeSpinner();
    void colourSpinner();

    Style m_style;
    std::optional<ThemeRole> m_tint;
    QString m_symbol;
    bool m_busy = false;
    int m_padding = 12;
    int m_spacing = 6;
    bool m_leading = false;
    Spinner *m_spinner;
};

} // namespace wrenlow
