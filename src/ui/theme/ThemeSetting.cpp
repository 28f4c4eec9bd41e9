#include "ui/theme/ThemeSetting.h"

#include "ui/theme/UiPlatform.h"

namespace wrenlow {

namespace {

const QString light = QStringLiteral("light");

} // namespace

ThemeSetting::ThemeSetting(QObject *parent)
    : QObject(parent)
    , m_value(uiplatform::userDefault(QLatin1String(key)).value_or(light))
{}

bool ThemeSetting::isLight() const
{
    return m_value == light;
}

void ThemeSetting::toggle()
{
    m_value = isLight() ? QStringLiteral("dark") : light;
    // Written now: quitting writes nothing.
    uiplatform::setUserDefault(QLatin1String(key), m_value);
    emit changed();
}

} // namespace wrenlow
