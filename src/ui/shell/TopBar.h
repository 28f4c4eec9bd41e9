#pragma once

#include <QAbstractButton>

#include <chrono>

class QLabel;

namespace wrenlow {

class DashboardViewModel;
class PlainLabel;
class StatusPill;
class ThemeSetting;
class ThemeToggle;
class TintedButton;

// The strip above the pages: the scanned Mac's identity, the theme toggle, the macOS version and the scan
// button.
class TopBar : public QWidget
{
    Q_OBJECT
public:
    TopBar(DashboardViewModel &model, ThemeSetting &theme, QWidget *parent = nullptr);

    // Shows the model's snapshot and scanning flag.
    void refresh();

    // The bar below the strip of the window's buttons, where the content reaches under them (macOS).
    static constexpr int height = 72;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DashboardViewModel &m_model;
    PlainLabel *m_title;
    PlainLabel *m_serial;
    QLabel *m_separator;
    QLabel *m_architecture;
    StatusPill *m_version;
    TintedButton *m_scan;
};

// The top bar's switch between the light and dark theme: a button whose text names the theme it switches to.
class ThemeToggle : public QAbstractButton
{
    Q_OBJECT
public:
    ThemeToggle(ThemeSetting &theme, QWidget *parent = nullptr);

    QString symbol() const;
    QSize sizeHint() const override;

    // Pressing the toggle eases the window from one theme to the other over this time; the menu's command
    // switches at once.
    static constexpr std::chrono::milliseconds themeChangeDuration{180};

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ThemeSetting &m_theme;
};

} // namespace wrenlow
