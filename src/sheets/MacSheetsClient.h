#pragma once

#include "common/GatewayUrl.h"
#include "common/HttpClient.h"
#include "sheets/SheetsRecords.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace wrenlow {

// The product's one client of the gateway's Sheets endpoint: lists the projects open to an EMP ID, looks for an
// existing row of a unit and delivers new sheet rows, riding out a busy gateway with retries. Every request
// carries the bearer token of the technician's Korvane sign-in; without one nothing is sent.
class MacSheetsClient
{
public:
    // One wait between upload attempts.
    using Sleeper = std::function<QCoro::Task<>(std::chrono::milliseconds)>;
    // A uniformly distributed integer from `low` to `high`, both included.
    using RandomSource = std::function<qint64(qint64 low, qint64 high)>;

    static HttpOptions defaultHttpOptions();
    static Sleeper defaultSleeper();
    static RandomSource defaultRandomSource();

    explicit MacSheetsClient(const QUrl &baseUrl = gatewayBaseUrl(), HttpOptions options = defaultHttpOptions(),
                             Sleeper sleeper = defaultSleeper(), RandomSource random = defaultRandomSource());

    // Stores the token unchanged, or forgets it with nothing. An empty text is a token.
    void setBearerToken(std::optional<QString> token) { m_bearerToken = std::move(token); }
    bool isConfigured() const { return m_bearerToken.has_value(); }

    // Whether the gateway answers its "status" action for this token; never throws.
    QCoro::Task<bool> isReachable();
    QCoro::Task<SheetsProjectList> listProjects(QString empId, bool includeHidden = false);
    QCoro::Task<SheetsDuplicateResult> checkDuplicate(QString empId, QString projectId, QString serialNumber,
                                                      QString assetTag, QString fsnCode);
    // Up to six attempts; returns the first reply that is neither busy nor retryable, whatever its `ok`.
    QCoro::Task<SheetsUploadResult> upload(QJsonObject payload);

private:
    QCoro::Task<QByteArray> get(QList<std::pair<QString, QString>> query);
    QCoro::Task<> backoff(int attempt, qint64 retryAfterMs);

    QUrl m_endpoint;
    HttpClient m_http;
    Sleeper m_sleeper;
    RandomSource m_random;
    std::optional<QString> m_bearerToken;
};

} // namespace wrenlow
