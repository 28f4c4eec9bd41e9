#include "GatewayScenario.h"

#include "common/JsonFields.h"
#include "common/WrenlowError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>

namespace wrenlow::test {

namespace {

[[noreturn]] void refuse(const QString &where, const QString &problem)
{
    throw PlatformError(QStringLiteral("Scenario %1: %2").arg(where, problem));
}

QByteArray jsonText(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    // A scalar: wrap it and cut the brackets off again.
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

ScriptedResponse readResponse(const QJsonObject &object, const QString &where)
{
    static const QSet<QString> members{"status",  "headers",   "json", "body", "bodyBase64", "repeat",
                                       "delayMs", "trickleMs", "hold", "drop", "whenBody"};
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!members.contains(it.key()))
            refuse(where, QStringLiteral("unknown member \"%1\"").arg(it.key()));
    }
    if (int(object.contains("json")) + int(object.contains("body")) + int(object.contains("bodyBase64")) > 1)
        refuse(where, "\"json\", \"body\" and \"bodyBase64\" exclude each other");

    ScriptedResponse response;
    response.status = int(json::optionalInteger(object, "status").value_or(200));
    response.repeat = json::optionalInteger(object, "repeat").value_or(1);
    response.delayMs = int(json::optionalInteger(object, "delayMs").value_or(0));
    response.trickleMs = int(json::optionalInteger(object, "trickleMs").value_or(0));
    response.hold = json::optionalBool(object, "hold").value_or(false);
    response.drop = json::optionalBool(object, "drop").value_or(false);
    if (response.status < 100 || response.status > 999 || response.repeat < 0 || response.delayMs < 0 ||
        response.trickleMs < 0)
        refuse(where, "a number is out of range");
    if (object.contains("json")) {
        response.isJson = true;
        response.body = jsonText(object.value("json"));
    } else if (object.contains("bodyBase64")) {
        const auto decoded = QByteArray::fromBase64Encoding(json::requireString(object, "bodyBase64").toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            refuse(where, "\"bodyBase64\" is not Base64");
        response.body = *decoded;
    } else {
        response.body = json::optionalString(object, "body").value_or(QString()).toUtf8();
    }
    if (object.contains("whenBody")) {
        if (!object.value("whenBody").isObject())
            refuse(where, "\"whenBody\" is not an object");
        response.whenBody = object.value("whenBody").toObject();
    }
    const QJsonObject headers = object.value("headers").toObject();
    if (object.contains("headers") && !object.value("headers").isObject())
        refuse(where, "\"headers\" is not an object");
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (it->isNull())
            response.headers.append({it.key().toLatin1(), std::nullopt});
        else if (it->isString())
            response.headers.append({it.key().toLatin1(), it->toString().toUtf8()});
        else
            refuse(where, QStringLiteral("header \"%1\" is not a text or null").arg(it.key()));
    }
    return response;
}

} // namespace

GatewayScenario::GatewayScenario(const QJsonObject &script)
{
    for (auto it = script.begin(); it != script.end(); ++it) {
        const QString &key = it.key();
        if (!it->isArray() || it->toArray().isEmpty())
            refuse(key, "needs a non-empty array of responses");
        Route route;
        const QJsonArray responses = it->toArray();
        for (qsizetype i = 0; i < responses.size(); ++i)
            route.responses.append(readResponse(json::objectElement(responses.at(i), key), key));
        m_routes.insert(key, route);
    }
}

GatewayScenario GatewayScenario::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, file.errorString());
    return GatewayScenario(json::parseObject(file.readAll()));
}

std::optional<ScriptedResponse> GatewayScenario::next(const QString &method, const QString &path, const QString &action,
                                                      const QByteArray &body)
{
    const QString plainKey = method + ' ' + path;
    auto route = m_routes.find(plainKey + "?action=" + action);
    if (action.isEmpty() || route == m_routes.end())
        route = m_routes.find(plainKey);
    if (route == m_routes.end())
        return std::nullopt;
    const bool byBody = std::any_of(route->responses.begin(), route->responses.end(),
                                    [](const ScriptedResponse &response) { return response.whenBody.has_value(); });
    if (byBody) {
        const QJsonObject request = QJsonDocument::fromJson(body).object();
        for (const ScriptedResponse &response : std::as_const(route->responses)) {
            const QJsonObject condition = response.whenBody.value_or(QJsonObject());
            bool meets = true;
            for (auto it = condition.begin(); it != condition.end() && meets; ++it)
                meets = request.contains(it.key()) && request.value(it.key()) == it.value();
            if (meets)
                return response;
        }
        return std::nullopt;
    }
    const qsizetype index = std::min(route->played, route->responses.size() - 1);
    ++route->played;
    return route->responses.at(index);
}

} // namespace wrenlow::test
