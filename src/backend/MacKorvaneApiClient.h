#pragma once

#include "backend/KorvaneRecords.h"
#include "common/GatewayUrl.h"
#include "common/HttpClient.h"
#include "common/PreciseWait.h"

#include <QByteArray>
#include <QCoroTask>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace wrenlow {

// The client of the gateway's broker API, through which the technician reaches the Korvane inventory backend:
// health probe, sign-in with a password or PIN, creation options, unit resolve, current user, unit action and
// commit. The sign-in, with its access token, is held in memory only. The client belongs to the thread that made
// it; its operations may not overlap (the caller's busy flag sees to that). Failures are thrown as
// KorvaneApiError (an error answer), KorvaneClientError (found by the client) or PlatformError (transport,
// undecodable replies).
class MacKorvaneApiClient
{
public:
    // Waits between commit attempts.
    using Sleeper = std::function<QCoro::Task<>(std::chrono::milliseconds)>;

    // 35 seconds of silence or 45 seconds in all end an exchange.
    static HttpOptions standardLimits();

    explicit MacKorvaneApiClient(QUrl gatewayBase = gatewayBaseUrl(), HttpOptions limits = standardLimits(),
                                 Sleeper sleeper = preciseWait);

    bool isSignedIn() const { return m_loginSession.has_value(); }
    std::optional<QString> brokerToken() const;
    static constexpr bool isConfigured() { return true; }

    // True only for a 200 answer of the gateway's "health" whose JSON object has "ok": true. Never throws.
    QCoro::Task<bool> isReachable();
    // Keeps the reply as the sign-in, replacing any earlier one, only when every check passes.
    QCoro::Task<KorvaneLoginResponse> login(QString identifier, QString credential, bool usePin);
    // Tells the broker when signed in, ignoring any failure, and is signed out afterwards in every case.
    QCoro::Task<> logout();
    // Drops the sign-in here without telling the broker, for a session the technician can no longer use.
    void forgetSession() { m_loginSession.reset(); }

    QCoro::Task<KorvaneCreationOptions> creationOptions();
    // Matches the Mac against existing units; changes nothing at the backend. The body is sent as given.
    QCoro::Task<QJsonObject> resolve(QJsonObject body);
    QCoro::Task<KorvaneUser> currentUser();
    QCoro::Task<QJsonObject> applyUnitAction(QJsonObject body);
    // Up to three attempts; conflicts and refusals that are not retryable end it at once.
    QCoro::Task<QJsonObject> commit(QJsonObject body);

private:
    // The one road of every broker request: the reply bytes of a 2xx answer, or the failure thrown.
    QCoro::Task<QByteArray> request(QString path, QByteArray method, std::optional<QJsonObject> body,
                                    bool authenticated);
    QCoro::Task<QJsonObject> requestObject(QString path, QJsonObject body);

    QUrl m_gatewayBase;
    QUrl m_apiBase;
    HttpClient m_http;
    Sleeper m_sleeper;
    std::optional<KorvaneLoginResponse> m_loginSession;
};

} // namespace wrenlow
