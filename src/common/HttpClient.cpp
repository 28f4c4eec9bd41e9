#include "common/HttpClient.h"

#include "common/WrenlowError.h"

#include <QCoroNetworkReply>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <cstring>

namespace wrenlow {

namespace {

constexpr qint64 readAheadBytes = 256 * 1024;

struct LaterDeleter
{
    void operator()(QObject *object) const { object->deleteLater(); }
};

// What the reply's handlers learn while the answer arrives.
struct Transfer
{
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;

    void refuse(QNetworkReply *reply)
    {
        tooLarge = true;
        body.clear();
        reply->abort();
    }
};

// A request body that can be read only once. Qt sends a request again on its own when the connection breaks
// before the answer starts; for a request that is not idempotent that could, for example, add a second sheet
// row, so such a body is handed over in this form, which Qt cannot rewind.
class OneShotBody : public QIODevice
{
public:
    explicit OneShotBody(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    bool seek(qint64) override { return false; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_offset + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_offset == m_bytes.size())
            return -1;
        const qint64 count = std::min(maxSize, m_bytes.size() - m_offset);
        std::memcpy(data, m_bytes.constData() + m_offset, size_t(count));
        m_offset += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_offset = 0;
};

// The bearer token travels with every request, so it may only go encrypted or stay on this computer.
bool mayCarryToken(const QUrl &url)
{
    if (!url.isValid() || !url.userInfo().isEmpty())
        return false;
    if (url.scheme() == u"https")
        return !url.host().isEmpty();
    const QString host = url.host();
    return url.scheme() == u"http" && (host == u"localhost" || QHostAddress(host).isLoopback());
}

// Qt turns an answer's error status (4xx, 5xx) into an error code of its own, and after a whole 307 or 308 answer
// to a request with a one-shot body it reports that it could not send the body on, which it never would, as no
// redirect is followed. Those answers are still answers.
bool isStillAnAnswer(QNetworkReply::NetworkError error, int status)
{
    if (status == 307 || status == 308)
        return error == QNetworkReply::ContentReSendError;
    return status >= 400 && error > QNetworkReply::UnknownProxyError && error != QNetworkReply::ProtocolFailure &&
           error != QNetworkReply::ProtocolUnknownError;
}

// Why an exchange failed, in words for a technician: Qt's own text where it says more than "Unknown error".
QString failureReason(const QNetworkReply &reply)
{
    const QString ended = QStringLiteral("the connection ended before the whole answer arrived");
    switch (reply.error()) {
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ContentReSendError: // closed before the answer, and the request may not be sent again
        return ended;
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("the connection was refused");
    default:
        break;
    }
    const QString text = reply.errorString();
    return text.isEmpty() || text.contains(u"Unknown error", Qt::CaseInsensitive) ? ended : text;
}

bool isIdempotent(const QByteArray &method)
{
    static const QByteArrayList idempotent{"GET", "HEAD", "OPTIONS", "TRACE", "PUT", "DELETE"};
    return idempotent.contains(method);
}

QNetworkRequest networkRequest(const HttpRequest &request, const HttpOptions &options)
{
    QNetworkRequest networkRequest(request.url);
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    // Qt would otherwise ask for compressed answers and inflate them unbounded before the body limit sees them.
    networkRequest.setRawHeader("Accept-Encoding", "identity");
    // The bearer token travels with every request, and Qt would send a POST on as a GET or without its one-shot
    // body; so no redirect is followed, and a 3xx answer reaches the caller as the answer it is.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (options.sslConfiguration)
        networkRequest.setSslConfiguration(*options.sslConfiguration);
    if (!isIdempotent(request.method)) {
        networkRequest.setHeader(QNetworkRequest::ContentLengthHeader, request.body.size());
        networkRequest.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    }
    return networkRequest;
}

QNetworkReply *startReply(QNetworkAccessManager &manager, const HttpRequest &request, const HttpOptions &options)
{
    const QNetworkRequest sent = networkRequest(request, options);
    if (!isIdempotent(request.method)) {
        auto *body = new OneShotBody(request.body);
        QNetworkReply *reply = manager.sendCustomRequest(sent, request.method, body);
        body->setParent(reply);
        return reply;
    }
    if (request.body.isEmpty()) // without a body there is no Content-Length either
        return manager.sendCustomRequest(sent, request.method);
    return manager.sendCustomRequest(sent, request.method, request.body);
}

} // namespace

QByteArray HttpResponse::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

HttpClient::HttpClient(HttpOptions options)
    : m_options(std::move(options))
    , m_manager(std::make_unique<QNetworkAccessManager>())
{}

HttpClient::~HttpClient() = default;

void throwIfClosed(const std::weak_ptr<const void> &lifetime)
{
    if (lifetime.expired())
        throw PlatformError(QStringLiteral("The request was given up: the window that made it has closed."));
}

QCoro::Task<HttpResponse> HttpClient::send(HttpRequest request)
{
    const QString host = request.url.host();
    if (!mayCarryToken(request.url))
        throw PlatformError(QStringLiteral("Nothing was sent to “%1”: only HTTPS, or plain HTTP on this computer, "
                                           "may carry the sign-in.")
                                .arg(request.url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery)));
    // Qt writes header values as they are, so a line break in one (a hostile token) would add headers of its own.
    for (const auto &[name, value] : request.headers) {
        if (value.contains('\r') || value.contains('\n') || value.contains('\0'))
            throw PlatformError(QStringLiteral("The request to %1 has a header value that cannot be sent.").arg(host));
    }
    const qint64 maxBodyBytes = m_options.maxBodyBytes;
    // Qt finishes a reply from inside its own signals; it may only go once they have returned.
    const std::unique_ptr<QNetworkReply, LaterDeleter> reply(startReply(*m_manager, request, m_options));
    QNetworkReply *const watched = reply.get();
    // Shared with the reply's handlers, which may still run while this frame is already gone.
    const auto transfer = std::make_shared<Transfer>();

    // Qt's network thread reads ahead of us only this far, so an oversized answer never piles up in memory.
    watched->setReadBufferSize(readAheadBytes);
    QObject::connect(watched, &QNetworkReply::metaDataChanged, watched, [watched, maxBodyBytes, transfer] {
        if (watched->header(QNetworkRequest::ContentLengthHeader).toLongLong() > maxBodyBytes)
            transfer->refuse(watched);
    });
    QObject::connect(watched, &QNetworkReply::readyRead, watched, [watched, maxBodyBytes, transfer] {
        if (transfer->tooLarge)
            return;
        transfer->body += watched->readAll();
        if (transfer->body.size() > maxBodyBytes)
            transfer->refuse(watched);
    });
    // Both limits are ours, on precise timers: Qt's own silence limit and its default coarse timers may end an
    // exchange up to 5 % before its time.
    const auto expire = [watched, transfer] {
        transfer->timedOut = true;
        watched->abort();
    };
    if (m_options.requestTimeout.count() > 0) {
        auto *const silence = new QTimer(watched);
        silence->setTimerType(Qt::PreciseTimer);
        silence->setSingleShot(true);
        silence->setInterval(m_options.requestTimeout);
        QObject::connect(silence, &QTimer::timeout, watched, expire);
        // Any bytes moving either way, or the answer's headers, start the silence over.
        const auto heard = [silence] { silence->start(); };
        QObject::connect(watched, &QNetworkReply::uploadProgress, silence, heard);
        QObject::connect(watched, &QNetworkReply::downloadProgress, silence, heard);
        QObject::connect(watched, &QNetworkReply::metaDataChanged, silence, heard);
        silence->start();
    }
    if (m_options.resourceTimeout.count() > 0)
        QTimer::singleShot(m_options.resourceTimeout, Qt::PreciseTimer, watched, expire);

    co_await watched;

    // Qt reports some answers as errors while their status and body are intact, so the status decides first;
    // only failures of the exchange itself or an answer without a status are thrown.
    HttpResponse response;
    response.status = watched->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = watched->error();
    const PlatformError tooLarge(
        QStringLiteral("The answer from %1 is larger than %2 bytes.").arg(host).arg(maxBodyBytes));
    if (transfer->tooLarge)
        throw tooLarge;
    if (transfer->timedOut || error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        throw PlatformError(QStringLiteral("The request to %1 timed out.").arg(host));
    if (error != QNetworkReply::NoError && !isStillAnAnswer(error, response.status))
        throw PlatformError(QStringLiteral("The request to %1 failed: %2.").arg(host, failureReason(*watched)));

    response.headers = watched->rawHeaderPairs();
    const QByteArray encoding = response.header("Content-Encoding").trimmed();
    if (!encoding.isEmpty() && encoding.compare("identity", Qt::CaseInsensitive) != 0)
        throw PlatformError(QStringLiteral("The answer from %1 came encoded as “%2”, which was not asked for.")
                                .arg(host, QString::fromLatin1(encoding)));
    response.body = transfer->body + watched->readAll();
    if (response.body.size() > maxBodyBytes)
        throw tooLarge;
    co_return response;
}

} // namespace wrenlow
