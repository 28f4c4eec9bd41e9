#include "backend/KorvaneRecords.h"

#include "common/JsonFields.h"

#include <QHash>
#include <QJsonArray>

namespace wrenlow {

namespace {

// Optional keys count as absent when missing or null, as the strict readers treat them.
template <typename Value> void putOptional(QJsonObject &object, const QString &key, const std::optional<Value> &value)
{
    if (value)
        object.insert(key, *value);
}

} // namespace

QString KorvaneUser::displayName() const
{
    QStringList names;
    for (const std::optional<QString> &name : {firstName, lastName}) {
        const QString trimmed = name.value_or(QString()).trimmed();
        if (!trimmed.isEmpty())
            names.append(trimmed);
    }
    return names.isEmpty() ? username : names.join(u' ');
}

KorvaneUser KorvaneUser::fromJson(const QJsonObject &object)
{
    KorvaneUser user;
    user.userId = json::requireInteger(object, QStringLiteral("user_id"));
    user.username = json::requireString(object, QStringLiteral("username"));
    user.firstName = json::optionalString(object, QStringLiteral("first_name"));
    user.lastName = json::optionalString(object, QStringLiteral("last_name"));
    const QString rolesKey = QStringLiteral("roles");
    if (!json::isAbsent(object, rolesKey)) {
        QStringList roles;
        const QJsonArray array = json::requireArray(object, rolesKey);
        for (const QJsonValue &role : array)
            roles.append(json::stringElement(role, rolesKey));
        user.roles = roles;
    }
    return user;
}

QJsonObject KorvaneUser::toJson() const
{
    QJsonObject object{{QStringLiteral("user_id"), userId}, {QStringLiteral("username"), username}};
    putOptional(object, QStringLiteral("first_name"), firstName);
    putOptional(object, QStringLiteral("last_name"), lastName);
    if (roles)
        object.insert(QStringLiteral("roles"), QJsonArray::fromStringList(*roles));
    return object;
}

KorvaneToolIdentity KorvaneToolIdentity::fromJson(const QJsonObject &object)
{
    return {json::optionalString(object, QStringLiteral("source"))};
}

QJsonObject KorvaneToolIdentity::toJson() const
{
    QJsonObject object;
    putOptional(object, QStringLiteral("source"), source);
    return object;
}

KorvaneLoginResponse KorvaneLoginResponse::fromJson(const QJsonObject &object)
{
    KorvaneLoginResponse response;
    response.accessToken = json::requireString(object, QStringLiteral("access_token"));
    response.tokenType = json::requireString(object, QStringLiteral("token_type"));
    response.expiresAt = json::requireString(object, QStringLiteral("expires_at"));
    response.user = KorvaneUser::fromJson(json::requireObject(object, QStringLiteral("user")));
    const QString toolKey = QStringLiteral("tool");
    if (!json::isAbsent(object, toolKey))
        response.tool = KorvaneToolIdentity::fromJson(json::requireObject(object, toolKey));
    return response;
}

QJsonObject KorvaneLoginResponse::toJson() const
{
    QJsonObject object{{QStringLiteral("access_token"), accessToken},
                       {QStringLiteral("token_type"), tokenType},
                       {QStringLiteral("expires_at"), expiresAt},
                       {QStringLiteral("user"), user.toJson()}};
    if (tool)
        object.insert(QStringLiteral("tool"), tool->toJson());
    return object;
}

KorvaneLot KorvaneLot::fromJson(const QJsonObject &object)
{
    KorvaneLot lot;
    lot.lotId = json::requireInteger(object, QStringLiteral("lot_id"));
    lot.name = json::requireString(object, QStringLiteral("name"));
    lot.parentLotId = json::optionalInteger(object, QStringLiteral("parent_lot_id"));
    lot.allowDuplicateMatchUnitAssumption =
        json::requireBool(object, QStringLiteral("allow_duplicate_match_unit_assumption"));
    return lot;
}

QJsonObject KorvaneLot::toJson() const
{
    QJsonObject object{{QStringLiteral("lot_id"), lotId},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("allow_duplicate_match_unit_assumption"), allowDuplicateMatchUnitAssumption}};
    putOptional(object, QStringLiteral("parent_lot_id"), parentLotId);
    return object;
}

size_t qHash(const KorvaneLot &lot, size_t seed)
{
    return qHashMulti(seed, lot.lotId, lot.name, lot.parentLotId.has_value(), lot.parentLotId.value_or(0),
                      lot.allowDuplicateMatchUnitAssumption);
}

KorvaneUnitCategory KorvaneUnitCategory::fromJson(const QJsonObject &object)
{
    return {json::requireInteger(object, QStringLiteral("config_value_id")),
            json::requireString(object, QStringLiteral("label"))};
}

QJsonObject KorvaneUnitCategory::toJson() const
{
    return {{QStringLiteral("config_value_id"), configValueId}, {QStringLiteral("label"), label}};
}

size_t qHash(const KorvaneUnitCategory &category, size_t seed)
{
    return qHashMulti(seed, category.configValueId, category.label);
}

KorvaneCreationOptions KorvaneCreationOptions::fromJson(const QJsonObject &object)
{
    return {json::decodedList<KorvaneLot>(object, QStringLiteral("lots")),
            json::decodedList<KorvaneUnitCategory>(object, QStringLiteral("unit_categories"))};
}

QJsonObject KorvaneCreationOptions::toJson() const
{
    return {{QStringLiteral("lots"), json::encodedList(lots)},
            {QStringLiteral("unit_categories"), json::encodedList(unitCategories)}};
}

} // namespace wrenlow
