#pragma once

#include <QAbstractButton>

namespace wrenlow {

// A small painted on/off switch with its title on the leading side, as the sign-in row's "Use PIN" toggle.
// It is an ordinary checkable button, so clicks, Space and toggled() behave as for any check box.
class ToggleSwitch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ToggleSwitch(const QString &title, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace wrenlow
