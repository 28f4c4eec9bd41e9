#pragma once

#include <QMargins>
#include <QWidget>

namespace wrenlow {

// The rounded field box of the theme (field fill, hairline outline, corner radius 10) around an entry: the
// labelled fields' single line and the comments editor.
class FieldFrame : public QWidget
{
    Q_OBJECT
public:
    FieldFrame(QWidget *content, const QMargins &padding, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace wrenlow
