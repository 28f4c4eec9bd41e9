#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace wrenlow::test {

// One scripted answer of the stand-in gateway.
struct ScriptedResponse
{
    int status = 200;
    // Sent after the stand-in's own headers, replacing one of the same name; an absent value removes that header.
    QList<std::pair<QByteArray, std::optional<QByteArray>>> headers;
    QByteArray body; // from "json", "body" (text) or "bodyBase64" (bytes)
    bool isJson = false;
    qint64 repeat = 1; // the body is sent this many times in a row
    int delayMs = 0;   // before the answer starts
    int trickleMs = 0; // when set, the body goes out one byte per this many milliseconds
    bool hold = false; // kept back until the stand-in is told to release held answers
    bool drop = false; // the connection is closed without an answer
    // Answers only a request whose JSON body holds these members with these values.
    std::optional<QJsonObject> whenBody;
};

// A script of answers per route. Keys are "METHOD /path" or "METHOD /path?action=NAME" (the more specific key
// wins); each route plays its answers in order and repeats the last one. A route in which an answer carries
// "whenBody" instead gives every request the first answer whose condition its body meets (an answer without
// one meets every body). Throws PlatformError for a script that
// names an unknown member or holds a value of the wrong type.
class GatewayScenario
{
public:
    GatewayScenario() = default;
    explicit GatewayScenario(const QJsonObject &script);
    static GatewayScenario fromFile(const QString &path);

    // The next answer for a request, or nothing when the route is not scripted.
    std::optional<ScriptedResponse> next(const QString &method, const QString &path, const QString &action,
                                         const QByteArray &body = {});

private:
    struct Route
    {
        QList<ScriptedResponse> responses;
        qsizetype played = 0;
    };
    QHash<QString, Route> m_routes;
};

} // namespace wrenlow::test
