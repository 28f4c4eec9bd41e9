#include "sheets/MacSheetsClient.h"

#include "common/PreciseWait.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <exception>

namespace wrenlow {

namespace {

using namespace std::chrono_literals;

constexpr int uploadAttempts = 6;
// A gateway's wait hint is followed as given up to this ceiling, so a huge or hostile one cannot stall an upload
// for days or overflow the wait.
constexpr qint64 longestHintMs = 5 * 60 * 1000;

QByteArray authorization(const QString &token)
{
    return "Bearer " + token.toUtf8();
}

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

// An answer without an HTTP status, or one that refuses the token, ends a request before its status is read.
void refuseUnanswered(int status)
{
    if (status == 0)
        throw SheetsClientError::invalidResponse();
    if (status == 401)
        throw SheetsClientError::notAuthenticated();
}

SheetsClientError httpStatusError(int status)
{
    return SheetsClientError::server(QStringLiteral("Sheets returned HTTP %1.").arg(status));
}

// A reply that says `ok` false with a reason is the gateway refusing; without a reason the caller reads `ok`.
template <typename Reply> Reply refusedOrReturned(Reply reply)
{
    if (!reply.ok && reply.error)
        throw SheetsClientError::server(*reply.error);
    return reply;
}

} // namespace

HttpOptions MacSheetsClient::defaultHttpOptions()
{
    HttpOptions options;
    options.requestTimeout = 90s;
    options.resourceTimeout = 100s;
    return options;
}

MacSheetsClient::Sleeper MacSheetsClient::defaultSleeper()
{
    return preciseWait;
}

MacSheetsClient::RandomSource MacSheetsClient::defaultRandomSource()
{
    return [](qint64 low, qint64 high) { return QRandomGenerator::global()->bounded(low, high + 1); };
}

MacSheetsClient::MacSheetsClient(const QUrl &baseUrl, HttpOptions options, Sleeper sleeper, RandomSource random)
    : m_endpoint(endpointUrl(baseUrl, QStringLiteral("sheets")))
    , m_http(std::move(options))
    , m_sleeper(std::move(sleeper))
    , m_random(std::move(random))
{}

QCoro::Task<bool> MacSheetsClient::isReachable()
{
    if (!m_bearerToken)
        co_return false;
    const QList<std::pair<QString, QString>> query{{QStringLiteral("action"), QStringLiteral("status")}};
    QByteArray body;
    try {
        body = co_await get(query);
    } catch (...) {
        co_return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    co_return !utf8.hasError() && !text.contains(u"unauthorized", Qt::CaseInsensitive);
}

QCoro::Task<SheetsProjectList> MacSheetsClient::listProjects(QString empId, bool includeHidden)
{
    const QList<std::pair<QString, QString>> query{
        {QStringLiteral("action"), QStringLiteral("listProjects")},
        {QStringLiteral("empId"), normalizedEmpId(empId)},
        {QStringLiteral("includeHidden"), includeHidden ? QStringLiteral("true") : QStringLiteral("false")}};
    const QByteArray body = co_await get(query);
    co_return refusedOrReturned(SheetsProjectList::fromJson(body));
}

QCoro::Task<SheetsDuplicateResult> MacSheetsClient::checkDuplicate(QString empId, QString projectId,
                                                                   QString serialNumber, QString assetTag,
                                                                   QString fsnCode)
{
    const QList<std::pair<QString, QString>> query{{QStringLiteral("action"), QStringLiteral("checkDuplicate")},
                                                   {QStringLiteral("empId"), normalizedEmpId(empId)},
                                                   {QStringLiteral("projectId"), projectId},
                                                   {QStringLiteral("serialNumber"), serialNumber},
                                                   {QStringLiteral("assetTag"), assetTag},
                                                   {QStringLiteral("fsnCode"), fsnCode}};
    const QByteArray body = co_await get(query);
    co_return refusedOrReturned(SheetsDuplicateResult::fromJson(body));
}

QCoro::Task<QByteArray> MacSheetsClient::get(QList<std::pair<QString, QString>> query)
{
    const std::optional<QString> token = m_bearerToken;
    if (!token)
        throw SheetsClientError::notAuthenticated();
    HttpRequest request;
    request.url = urlWithQuery(m_endpoint, query);
    if (!request.url.isValid())
        throw SheetsClientError::invalidResponse();
    request.headers = {{"Authorization", authorization(*token)}};

    const HttpResponse response = co_await m_http.send(std::move(request));
    refuseUnanswered(response.status);
    if (!isSuccess(response.status))
        throw httpStatusError(response.status);
    co_return response.body;
}

QCoro::Task<SheetsUploadResult> MacSheetsClient::upload(QJsonObject payload)
{
    const std::optional<QString> token = m_bearerToken;
    if (!token)
        throw SheetsClientError::notAuthenticated();
    HttpRequest request;
    request.method = "POST";
    request.url = m_endpoint;
    request.headers = {{"Content-Type", "application/json"}, {"Authorization", authorization(*token)}};
    request.body = QJsonDocument(payload).toJson(QJsonDocument::Compact);

    const std::weak_ptr<const void> alive = m_http.lifetime();
    std::exception_ptr lastError;
    for (int attempt = 0; attempt < uploadAttempts; ++attempt) {
        throwIfClosed(alive); // the wait before this attempt may have outlived the client
        std::exception_ptr caught;
        // Set when the gateway asks for patience (429, 503, busy or retryable): wait, but record no error.
        std::optional<qint64> waitHint;
        try {
            const HttpResponse response = co_await m_http.send(request);
            refuseUnanswered(response.status);
            if (response.status == 429 || response.status == 503) {
                waitHint = 0;
            } else if (!isSuccess(response.status)) {
                throw httpStatusError(response.status);
            } else {
                SheetsUploadResult result = SheetsUploadResult::fromJson(response.body);
                if (!result.busy && !result.retryable)
                    co_return result;
                waitHint = result.retryAfterMs;
            }
        } catch (...) {
            caught = std::current_exception();
        }
        if (waitHint) {
            try {
                co_await backoff(attempt, *waitHint);
            } catch (...) {
                caught = std::current_exception();
            }
        }
        if (caught) {
            lastError = caught;
            if (attempt < uploadAttempts - 1)
                co_await backoff(attempt, 0);
        }
    }
    if (lastError)
        std::rethrow_exception(lastError);
    throw SheetsClientError::invalidResponse();
}

QCoro::Task<> MacSheetsClient::backoff(int attempt, qint64 retryAfterMs)
{
    const qint64 base =
        retryAfterMs > 0 ? std::min(retryAfterMs, longestHintMs) : std::min<qint64>(10000, 700 << attempt);
    const qint64 jitter = m_random(100, 450);
    co_await m_sleeper(std::chrono::milliseconds(base + jitter));
}

} // namespace wrenlow
