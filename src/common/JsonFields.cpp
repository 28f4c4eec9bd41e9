#include "common/JsonFields.h"

#include "common/WrenlowError.h"

#include <QJsonDocument>

#include <cmath>

namespace wrenlow::json {

namespace {

[[noreturn]] void fail(const QString &key, const char *problem)
{
    throw PlatformError(QStringLiteral("The data could not be read: “%1” %2.").arg(key, QLatin1String(problem)));
}

PlatformError unreadable(const QJsonParseError &error)
{
    return PlatformError(QStringLiteral("The data could not be read: %1.").arg(error.errorString()));
}

QJsonValue present(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        fail(key, "is missing");
    return *it;
}

} // namespace

bool isAbsent(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    return it == object.constEnd() || it->isNull() || it->isUndefined();
}

std::optional<qint64> exactInteger(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    // Qt keeps integral JSON numbers as qint64 when they fit; anything else arrives as a double.
    const qint64 asInteger = value.toInteger(std::numeric_limits<qint64>::min());
    if (asInteger != std::numeric_limits<qint64>::min() || value.toDouble() == -9223372036854775808.0)
        return asInteger;
    return std::nullopt;
}

QString requireString(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = present(object, key);
    if (!value.isString())
        fail(key, "is not a text");
    return value.toString();
}

qint64 requireInteger(const QJsonObject &object, const QString &key)
{
    const auto integer = exactInteger(present(object, key));
    if (!integer)
        fail(key, "is not an integer");
    return *integer;
}

double requireNumber(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = present(object, key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        fail(key, "is not a number");
    return value.toDouble();
}

bool requireBool(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = present(object, key);
    if (!value.isBool())
        fail(key, "is not true or false");
    return value.toBool();
}

QJsonArray requireArray(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = present(object, key);
    if (!value.isArray())
        fail(key, "is not a list");
    return value.toArray();
}

QJsonObject requireObject(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = present(object, key);
    if (!value.isObject())
        fail(key, "is not an object");
    return value.toObject();
}

std::optional<QString> optionalString(const QJsonObject &object, const QString &key)
{
    if (isAbsent(object, key))
        return std::nullopt;
    return requireString(object, key);
}

std::optional<qint64> optionalInteger(const QJsonObject &object, const QString &key)
{
    if (isAbsent(object, key))
        return std::nullopt;
    return requireInteger(object, key);
}

std::optional<bool> optionalBool(const QJsonObject &object, const QString &key)
{
    if (isAbsent(object, key))
        return std::nullopt;
    return requireBool(object, key);
}

QString stringElement(const QJsonValue &value, const QString &context)
{
    if (!value.isString())
        fail(context, "holds an element that is not a text");
    return value.toString();
}

QJsonObject objectElement(const QJsonValue &value, const QString &context)
{
    if (!value.isObject())
        fail(context, "holds an element that is not an object");
    return value.toObject();
}

bool isJsonButNotObject(const QByteArray &bytes)
{
    // Qt's reader takes only an object or an array as a whole document; a lone value is read as a list's element.
    const QJsonDocument wrapped = QJsonDocument::fromJson('[' + bytes + ']');
    const QJsonArray elements = wrapped.array();
    return wrapped.isArray() && (elements.isEmpty() || (elements.size() == 1 && !elements.first().isObject()));
}

QJsonObject parseObject(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isObject())
        return document.object();
    if (error.error != QJsonParseError::NoError && !isJsonButNotObject(bytes))
        throw unreadable(error);
    throw PlatformError(QStringLiteral("The data could not be read: it is not a JSON object."));
}

QJsonDocument parseDocument(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw unreadable(error);
    return document;
}

} // namespace wrenlow::json
