#pragma once

#include <QComboBox>

namespace wrenlow {

// A pop-up menu drawn as the labelled fields' box (height, corner radius, fill, outline, padding and font), the
// chosen entry at its leading edge and a chevron at its trailing one, with its list in the theme's colours.
class MenuPicker : public QComboBox
{
    Q_OBJECT
public:
    explicit MenuPicker(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showPopup() override;
};

} // namespace wrenlow
