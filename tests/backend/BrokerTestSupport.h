#pragma once

#include "backend/KorvaneErrors.h"
#include "backend/MacKorvaneApiClient.h"

#include "GatewayStandIn.h"
#include "TaskWait.h"

#include <QJsonDocument>

namespace wrenlow::test {

inline GatewayScenario scenario(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    Q_ASSERT(document.isObject());
    return GatewayScenario(document.object());
}

// A sign-in reply of the broker; `tool` is the JSON of its "tool" member, or empty for none.
inline QByteArray loginReply(const QByteArray &token, const QByteArray &tool = R"({"source": "wrenlow"})")
{
    return R"({"json": {"access_token": ")" + token +
           R"(", "token_type": "bearer", "expires_at": "2030-01-01T00:00:00Z",
               "user": {"user_id": 17, "username": "tech1"})" +
           (tool.isEmpty() ? QByteArray() : ", \"tool\": " + tool) + "}}";
}

// Sign-in answers with token "tok"; the route plays the given answers.
inline GatewayScenario signedInScenario(const QByteArray &route, const QByteArray &answers)
{
    return scenario(R"({"POST /api/v1/auth/login": [)" + loginReply("tok") + "], \"" + route + "\": [" + answers +
                    "]}");
}

// Short limits, so that a silent gateway ends a test in well under a second.
inline HttpOptions shortLimits(std::chrono::milliseconds request, std::chrono::milliseconds resource = {})
{
    HttpOptions options;
    options.requestTimeout = request;
    options.resourceTimeout = resource;
    return options;
}

// How an operation ended: "ok", "HTTP <status>" for an error answer, the client error's text, or
// "platform: <text>".
template <typename T> QString outcome(QCoro::Task<T> task)
{
    try {
        waitForTask(std::move(task));
        return "ok";
    } catch (const KorvaneApiError &error) {
        return "HTTP " + QString::number(error.statusCode());
    } catch (const KorvaneClientError &error) {
        return error.description();
    } catch (const PlatformError &error) {
        return "platform: " + error.description();
    }
}

// A stand-in gateway on loopback and a client pointed at it.
struct Broker
{
    explicit Broker(GatewayScenario script, HttpOptions limits = MacKorvaneApiClient::standardLimits(),
                    MacKorvaneApiClient::Sleeper sleeper = MacKorvaneApiClient::timerSleep)
        : standIn(std::move(script))
        , client((standIn.listen(), standIn.baseUrl()), std::move(limits), std::move(sleeper))
    {}

    void signIn() { waitForTask(client.login("tech1", "secret", false)); }

    GatewayStandIn standIn;
    MacKorvaneApiClient client;
};

} // namespace wrenlow::test
