#include "common/HttpClient.h"

#include "common/WrenlowError.h"

#include <QCoroNetworkReply>
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
    networkRequest.setTransferTimeout(int(options.requestTimeout.count()));
    // The bearer token travels with every request, so a redirect may not carry it to another origin.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
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

QCoro::Task<HttpResponse> HttpClient::send(HttpRequest request)
{
    const QString host = request.url.host();
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
    if (m_options.resourceTimeout.count() > 0) {
        QTimer::singleShot(m_options.resourceTimeout, watched, [watched, transfer] {
            transfer->timedOut = true;
            watched->abort();
        });
    }

    co_await watched;

    // Qt reports 4xx and 5xx answers as errors while their status and body are intact, so the status decides
    // first; only failures of the exchange itself (below 100) or an answer without a status are thrown.
    HttpResponse response;
    response.status = watched->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = watched->error();
    const PlatformError tooLarge(
        QStringLiteral("The answer from %1 is larger than %2 bytes.").arg(host).arg(maxBodyBytes));
    if (transfer->tooLarge)
        throw tooLarge;
    if (transfer->timedOut || error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        throw PlatformError(QStringLiteral("The request to %1 timed out.").arg(host));
    if (error != QNetworkReply::NoError && (response.status == 0 || error < QNetworkReply::ProxyConnectionRefusedError))
        throw PlatformError(QStringLiteral("The request to %1 failed: %2").arg(host, watched->errorString()));

    response.headers = watched->rawHeaderPairs();
    response.body = transfer->body + watched->readAll();
    if (response.body.size() > maxBodyBytes)
        throw tooLarge;
    co_return response;
}

} // namespace wrenlow
