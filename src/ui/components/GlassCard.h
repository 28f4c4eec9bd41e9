#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

class QVBoxLayout;

namespace wrenlow {

// The container of every card on the pages: its content, padded 18 on every edge, on a rounded translucent
// panel with a hairline outline. The card's soft shadow reaches outside the card, so the card paints it onto
// its parent just before the parent paints (the parent must leave its background unpainted there, as the
// pages' transparent containers do).
class GlassCard : public QWidget
{
    Q_OBJECT
public:
    explicit GlassCard(QWidget *content = nullptr, QWidget *parent = nullptr);

    // Holds the content; pages add widgets or layouts to it.
    QVBoxLayout *contentLayout() const { return m_layout; }

    static constexpr int padding = 18;
    static constexpr qreal cornerRadius = 20;
    // A shadow radius of 22 is a Gaussian of half that deviation, 12 below the card.
    static constexpr qreal shadowSigma = 11;
    static constexpr QPoint shadowOffset{0, 12};

    // The platform's ultra-thin material under the panel colour: a faint veil of the appearance's own tone.
    static QColor materialTint(Appearance appearance);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect shadowRect(const QRect &geometry) const;
    void paintShadow(QWidget *parent);
    void watchParent();

    QVBoxLayout *m_layout;
    QWidget *m_watchedParent = nullptr;
    QRect m_lastGeometry;
};

} // namespace wrenlow
