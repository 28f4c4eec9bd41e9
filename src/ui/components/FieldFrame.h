#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QMargins>
#include <QWidget>

class QPainter;

namespace wrenlow {

// The rounded field box of the theme (field fill, hairline outline, corner radius 10) around an entry: the
// labelled fields' single line and the comments editor.
class FieldFrame : public QWidget
{
    Q_OBJECT
public:
    FieldFrame(QWidget *content, const QMargins &padding, QWidget *parent = nullptr);

    // The box alone over `area`, for a control that takes a field's place; `outline` marks focus where wanted.
    static void paintBox(QPainter &painter, const QRect &area, Appearance appearance,
                         ThemeRole outline = ThemeRole::Line);

    static constexpr qreal cornerRadius = 10;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace wrenlow
