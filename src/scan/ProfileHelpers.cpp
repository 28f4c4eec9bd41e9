#include "scan/ProfileHelpers.h"

#include <QJsonArray>

#include <array>
#include <cmath>
#include <utility>

namespace wrenlow::profile {

namespace {

void collectDictionaries(const QJsonValue &value, QList<QJsonObject> &into)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        into.append(object);
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            collectDictionaries(it.value(), into);
    } else if (value.isArray()) {
        for (const QJsonValue &element : value.toArray())
            collectDictionaries(element, into);
    }
}

} // namespace

QList<QJsonObject> dictionaryArray(const QJsonValue &value)
{
    if (!value.isArray())
        return {};
    const QJsonArray array = value.toArray();
    QList<QJsonObject> dictionaries;
    dictionaries.reserve(array.size());
    // Only an array made wholly of dictionaries counts, as a typed cast of the platform's would.
    for (const QJsonValue &item : array) {
        if (!item.isObject())
            return {};
        dictionaries.append(item.toObject());
    }
    return dictionaries;
}

QJsonObject first(const QJsonObject &profile, const QString &dataType)
{
    const QList<QJsonObject> items = dictionaryArray(profile.value(dataType));
    return items.isEmpty() ? QJsonObject() : items.first();
}

std::optional<QString> numberText(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    const qint64 integer = value.toInteger(std::numeric_limits<qint64>::min());
    if (integer != std::numeric_limits<qint64>::min())
        return QString::number(integer);
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

QString text(const QJsonObject &dictionary, const QStringList &keys, const QString &fallback)
{
    for (const QString &key : keys) {
        const QJsonValue value = dictionary.value(key);
        if (value.isString()) {
            const QString string = value.toString();
            if (!string.trimmed().isEmpty())
                return humanize(string);
        } else if (auto number = numberText(value)) {
            return *number;
        }
    }
    return fallback;
}

std::optional<QString> textOptional(const QJsonObject &dictionary, const QString &key)
{
    const QJsonValue value = dictionary.value(key);
    if (value.isString()) {
        const QString string = value.toString();
        if (string.isEmpty())
            return std::nullopt;
        return humanize(string);
    }
    return numberText(value);
}

std::optional<QString> intText(const QJsonObject &dictionary, const QString &key, const QString &suffix)
{
    const auto number = numberText(dictionary.value(key));
    if (!number)
        return std::nullopt;
    return *number + suffix;
}

QString humanize(const QString &text)
{
    static const std::array<std::pair<QStringView, QStringView>, 14> words{{
        {u"activation_lock_enabled", u"Enabled"},
        {u"activation_lock_disabled", u"Disabled"},
        {u"spdisplays_yes", u"Yes"},
        {u"spdisplays_no", u"No"},
        {u"spdisplays_off", u"Off"},
        {u"spdisplays_on", u"On"},
        {u"spairport_status_connected", u"Connected"},
        {u"spairport_status_not_connected", u"Not connected"},
        {u"spairport_security_mode_wpa3_transition", u"WPA2/WPA3 Personal"},
        {u"spairport_security_mode_wpa2_personal", u"WPA2 Personal"},
        {u"spairport_security_mode_wpa3_personal", u"WPA3 Personal"},
        {u"spdisplays_internal", u"Internal"},
        {u"spdisplays_builtin", u"Built-in"},
        {u"sppci_vendor_Apple", u"Apple"},
    }};
    for (const auto &[code, word] : words) {
        if (text == code)
            return word.toString();
    }
    return text;
}

QList<QJsonObject> recursiveDictionaries(const QJsonValue &value)
{
    QList<QJsonObject> dictionaries;
    collectDictionaries(value, dictionaries);
    return dictionaries;
}

} // namespace wrenlow::profile
