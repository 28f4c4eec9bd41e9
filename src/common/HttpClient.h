#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCoroTask>
#include <QList>
#include <QSslConfiguration>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

class QNetworkAccessManager;

namespace wrenlow {

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// How long a client's exchanges may take, how much it reads, and whom it trusts.
struct HttpOptions
{
    // Longest silence while an exchange is under way; zero means no limit.
    std::chrono::milliseconds requestTimeout{0};
    // Longest whole exchange, from sending to the last byte of the answer; zero means no limit.
    std::chrono::milliseconds resourceTimeout{0};
    // Answers with a longer body are refused rather than held in memory.
    qint64 maxBodyBytes = 8 * 1024 * 1024;
    // Certificate authorities and TLS settings; the system's own when not given.
    std::optional<QSslConfiguration> sslConfiguration;
};

struct HttpRequest
{
    QByteArray method = "GET";
    QUrl url;
    HttpHeaders headers;
    QByteArray body;
};

struct HttpResponse
{
    // Zero when the answer carried no HTTP status.
    int status = 0;
    HttpHeaders headers;
    QByteArray body;

    // The value of a header whatever the letter case of its name; empty when it is absent.
    QByteArray header(QByteArrayView name) const;
};

// The product's one way of talking HTTP. Each network client owns one, and with it one connection manager that
// keeps nothing on disk. Any complete answer is returned whatever its status; a failed exchange (no connection,
// TLS refused, connection lost, time-out, oversized body) throws PlatformError with a readable text.
class HttpClient
{
public:
    explicit HttpClient(HttpOptions options);
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    QCoro::Task<HttpResponse> send(HttpRequest request);

    // Expires with this client. A client's coroutine that waited on something the client does not own (a timer
    // between attempts) checks it before it touches the client again, as its owner may be gone by then.
    std::weak_ptr<const void> lifetime() const { return m_alive; }

private:
    HttpOptions m_options;
    std::unique_ptr<QNetworkAccessManager> m_manager;
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

// Throws PlatformError when the client behind `lifetime` is gone.
void throwIfClosed(const std::weak_ptr<const void> &lifetime);

} // namespace wrenlow
