#pragma once

#include "ui/WrenlowTheme.h"

#include <QPushButton>

#include <optional>

namespace wrenlow {

// A push button drawn in the window's own look: bordered (a faint fill and the text in the tint, or neutral when
// untinted) or prominent (filled with the tint, white text), at a small or regular control size.
class TintedButton : public QPushButton
{
    Q_OBJECT
public:
    enum class Style { Bordered, Prominent };
    enum class Size { Small, Regular };

    TintedButton(const QString &text, std::optional<ThemeRole> tint, Style style, Size size, QWidget *parent = nullptr);

    std::optional<ThemeRole> tint() const { return m_tint; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<ThemeRole> m_tint;
    Style m_style;
    Size m_size;
};

} // namespace wrenlow
