#pragma once

#include <QComboBox>

namespace wrenlow {

// A pop-up menu drawn as the labelled fields' box (height, corner radius, fill, outline, padding and font), the
// chosen entry at its leading edge and a chevron at its trailing one. Its open list is a panel of the same box
// with rows in the field's padding, the row under the pointer and the chosen one tinted with the accent. Closed,
// it leaves the wheel to the page, as a pop-up menu on the Mac does: scrolling past it never changes the choice.
class MenuPicker : public QComboBox
{
    Q_OBJECT
public:
    explicit MenuPicker(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void showPopup() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace wrenlow
