#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

namespace wrenlow {

// A small upper-case capsule that shows a state or a count in one colour: the text, a faint fill and an
// outline of that colour.
class StatusPill : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPill(const QString &text = QString(), ThemeRole color = ThemeRole::Accent,
                        QWidget *parent = nullptr);

    void setText(const QString &text);
    void setColor(ThemeRole color);
    QString text() const { return m_text; }
    // What the pill draws: the text upper-cased, cleaned of control characters and shortened when long.
    QString displayText() const { return m_display; }
    ThemeRole color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Characters shown before an ellipsis.
    static constexpr qsizetype lengthCap = 47;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_text;
    QString m_display;
    ThemeRole m_color;
};

} // namespace wrenlow
