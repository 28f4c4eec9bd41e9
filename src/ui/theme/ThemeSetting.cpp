#include "ui/theme/ThemeSetting.h"

#include <QSettings>

namespace wrenlow {

namespace {

const QString light = QStringLiteral("light");

} // namespace

ThemeSetting::ThemeSetting(QObject *parent)
    : QObject(parent)
{
    QSettings *settings = openSettings(this);
    m_value = settings->value(QLatin1String(key), light).toString();
    delete settings;
}

QSettings *ThemeSetting::openSettings(QObject *parent)
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Wrenlow"),
                         QStringLiteral("Wrenlow Zel Mac"), parent);
}

bool ThemeSetting::isLight() const
{
    return m_value == light;
}

void ThemeSetting::toggle()
{
    m_value = isLight() ? QStringLiteral("dark") : light;
    QSettings *settings = openSettings(this);
    settings->setValue(QLatin1String(key), m_value);
    // Written now: quitting writes nothing.
    settings->sync();
    delete settings;
    emit changed();
}

} // namespace wrenlow
