#include "backend/MacKorvaneApiClient.h"

#include "backend/KorvaneErrors.h"
#include "common/JsonFields.h"

#include <QJsonDocument>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <exception>

namespace wrenlow {

namespace {

using std::chrono::milliseconds;

constexpr int commitAttempts = 3;

// Six user-perceived characters, each starting with a numeric code point of any script.
bool isPin(const QString &credential)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, credential);
    int count = 0;
    for (qsizetype start = 0; start >= 0 && start < credential.size(); start = graphemes.toNextBoundary()) {
        if (++count > 6 || !QChar::isNumber(char32_t(credential.mid(start, 2).toUcs4().constFirst())))
            return false;
    }
    return count == 6;
}

bool isAcceptedToolSource(const std::optional<KorvaneToolIdentity> &tool)
{
    if (!tool || !tool->source || tool->source->isEmpty())
        return true;
    const QString &source = *tool->source;
    return source.compare(u"wrenlow", Qt::CaseInsensitive) == 0 ||
           source.compare(u"wrenlow-mac-bridge", Qt::CaseInsensitive) == 0;
}

// Reply bodies that must be a JSON object. Only an object or a list is JSON here: a bare value or nothing fails
// with the reader's own text, as anything else it cannot read; a list is an unreadable reply.
QJsonObject replyObject(const QByteArray &bytes)
{
    const QJsonDocument document = json::parseDocument(bytes);
    if (!document.isObject())
        throw KorvaneClientError(KorvaneClientError::Kind::InvalidResponse);
    return document.object();
}

// The wait before the next commit attempt, or nothing when this failure ends the commit.
std::optional<milliseconds> commitRetryWait(const std::exception_ptr &failure, int attempt)
{
    if (attempt + 1 >= commitAttempts)
        return std::nullopt;
    try {
        std::rethrow_exception(failure);
    } catch (const KorvaneApiError &error) {
        if (error.statusCode() == 409 || (!error.retryable() && error.statusCode() < 500))
            return std::nullopt;
        return milliseconds(std::clamp<qint64>(error.retryAfterMs().value_or(600LL << attempt), 250, 5000));
    } catch (...) {
        return milliseconds((attempt + 1) * 600);
    }
}

} // namespace

HttpOptions MacKorvaneApiClient::standardLimits()
{
    HttpOptions options;
    options.requestTimeout = std::chrono::seconds(35);
    options.resourceTimeout = std::chrono::seconds(45);
    return options;
}

MacKorvaneApiClient::MacKorvaneApiClient(QUrl gatewayBase, HttpOptions limits, Sleeper sleeper)
    : m_gatewayBase(std::move(gatewayBase))
    , m_apiBase(endpointUrl(m_gatewayBase, QStringLiteral("api/v1/")))
    , m_http(std::move(limits))
    , m_sleeper(std::move(sleeper))
{}

std::optional<QString> MacKorvaneApiClient::brokerToken() const
{
    if (!m_loginSession)
        return std::nullopt;
    return m_loginSession->accessToken;
}

QCoro::Task<QByteArray> MacKorvaneApiClient::request(QString path, QByteArray method, std::optional<QJsonObject> body,
                                                     bool authenticated)
{
    if (authenticated && !m_loginSession)
        throw KorvaneClientError(KorvaneClientError::Kind::NotSignedIn);
    HttpRequest request;
    request.method = method;
    request.url = endpointUrl(m_apiBase, path);
    request.headers.emplace_back("Accept", "application/json");
    if (authenticated)
        request.headers.emplace_back("Authorization", "Bearer " + m_loginSession->accessToken.toUtf8());
    if (body) {
        request.body = QJsonDocument(*body).toJson(QJsonDocument::Compact);
        request.headers.emplace_back("Content-Type", "application/json");
    }

    const HttpResponse response = co_await m_http.send(std::move(request));
    if (response.status == 0)
        throw KorvaneClientError(KorvaneClientError::Kind::InvalidResponse);
    if (response.status < 200 || response.status > 299)
        throw KorvaneApiError::fromAnswer(response.status, response.body, response.header("Retry-After"));
    co_return response.body;
}

QCoro::Task<QJsonObject> MacKorvaneApiClient::requestObject(QString path, QJsonObject body)
{
    co_return replyObject(co_await request(std::move(path), "POST", std::move(body), true));
}

QCoro::Task<bool> MacKorvaneApiClient::isReachable()
{
    HttpRequest probe;
    probe.url = endpointUrl(m_gatewayBase, QStringLiteral("health"));
    try {
        const HttpResponse response = co_await m_http.send(std::move(probe));
        const QJsonDocument document = QJsonDocument::fromJson(response.body);
        const QJsonValue ok = document.object().value(QStringLiteral("ok"));
        co_return response.status == 200 && document.isObject() && ok.isBool() && ok.toBool();
    } catch (const std::exception &) {
        co_return false;
    }
}

QCoro::Task<KorvaneLoginResponse> MacKorvaneApiClient::login(QString identifier, QString credential, bool usePin)
{
    if (usePin && !isPin(credential))
        throw KorvaneClientError(KorvaneClientError::Kind::InvalidPin);
    const QJsonObject body{{QStringLiteral("identifier"), identifier.trimmed()},
                           {usePin ? QStringLiteral("pin") : QStringLiteral("password"), credential}};
    const QByteArray reply = co_await request(QStringLiteral("auth/login"), "POST", body, false);
    KorvaneLoginResponse response = KorvaneLoginResponse::fromJson(json::parseObject(reply));
    if (!isAcceptedToolSource(response.tool))
        throw KorvaneClientError(KorvaneClientError::Kind::WrongToolSource);
    m_loginSession = response;
    co_return response;
}

QCoro::Task<> MacKorvaneApiClient::logout()
{
    if (m_loginSession) {
        try {
            co_await request(QStringLiteral("auth/logout"), "POST", std::nullopt, true);
        } catch (const std::exception &) {
            // Signing out never fails: the sign-in is forgotten whatever the broker says.
        }
    }
    m_loginSession.reset();
}

QCoro::Task<KorvaneCreationOptions> MacKorvaneApiClient::creationOptions()
{
    const QByteArray reply = co_await request(QStringLiteral("units/creation-options"), "GET", std::nullopt, true);
    co_return KorvaneCreationOptions::fromJson(json::parseObject(reply));
}

QCoro::Task<QJsonObject> MacKorvaneApiClient::resolve(QJsonObject body)
{
    return requestObject(QStringLiteral("units/resolve"), std::move(body));
}

QCoro::Task<KorvaneUser> MacKorvaneApiClient::currentUser()
{
    const QByteArray reply = co_await request(QStringLiteral("auth/me"), "GET", std::nullopt, true);
    co_return KorvaneUser::fromJson(json::parseObject(reply));
}

QCoro::Task<QJsonObject> MacKorvaneApiClient::applyUnitAction(QJsonObject body)
{
    return requestObject(QStringLiteral("units/action"), std::move(body));
}

QCoro::Task<QJsonObject> MacKorvaneApiClient::commit(QJsonObject body)
{
    const std::weak_ptr<const void> alive = m_http.lifetime();
    for (int attempt = 0;; ++attempt) {
        throwIfClosed(alive); // the wait before this attempt may have outlived the client
        std::exception_ptr failure;
        try {
            co_return co_await requestObject(QStringLiteral("units/commit"), body);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::optional<milliseconds> wait = commitRetryWait(failure, attempt);
        if (!wait)
            std::rethrow_exception(failure);
        co_await m_sleeper(*wait);
    }
}

} // namespace wrenlow
