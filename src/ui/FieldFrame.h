#pragma once

#include <QWidget>

namespace wrenlow {

// The rounded field box of the theme (field fill, hairline outline, corner radius 10) around any content,
// for entries that are not a single-line field, such as the comments editor.
class FieldFrame : public QWidget
{
    Q_OBJECT
public:
    FieldFrame(QWidget *content, int padding, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace wrenlow
