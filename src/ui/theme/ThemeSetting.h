#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QObject>
#include <QString>

namespace wrenlow {

// The persisted theme, the program's only setting, in the user's standard defaults: "light" (the default) or
// anything else, which means dark.
// One instance is shared by the menu command and the top bar's toggle, so both read and write one value.
class ThemeSetting : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *key = "wrenlow-theme";

    explicit ThemeSetting(QObject *parent = nullptr);

    QString value() const { return m_value; }
    bool isLight() const;
    Appearance appearance() const { return isLight() ? Appearance::Light : Appearance::Dark; }

    // Stores "dark" when the value is "light" and "light" otherwise, and writes it out at once.
    void toggle();

signals:
    void changed();

private:
    QString m_value;
};

} // namespace wrenlow
