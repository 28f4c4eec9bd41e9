#include "GatewayStandIn.h"

#include "common/WrenlowError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>

#include <sys/socket.h>

namespace wrenlow::test {

namespace {

constexpr qsizetype maxHeadBytes = 64 * 1024;
constexpr qint64 maxBodyBytes = 64 * 1024 * 1024;
constexpr qint64 writeAhead = 1024 * 1024;
constexpr qsizetype chunkBytes = 64 * 1024;

QByteArray quoted(const QString &text)
{
    return QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

QByteArray mapText(const QMap<QString, QString> &map)
{
    QByteArrayList members;
    for (auto it = map.begin(); it != map.end(); ++it)
        members.append(quoted(it.key()) + ": " + quoted(it.value()));
    return '{' + members.join(", ") + '}';
}

// Form decoding: "+" is a blank, then percent escapes.
QString formDecoded(QByteArray text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.replace('+', ' ')));
}

QMap<QString, QString> decodedQuery(const QByteArray &query)
{
    QMap<QString, QString> items;
    for (const QByteArray &pair : query.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        if (equals < 0)
            items.insert(formDecoded(pair), QString());
        else
            items.insert(formDecoded(pair.left(equals)), formDecoded(pair.mid(equals + 1)));
    }
    return items;
}

// Parses the head of a request (request line and headers); false when it is not HTTP/1.x.
bool parseHead(const QByteArray &head, LoggedRequest &request, qint64 &contentLength)
{
    const QByteArrayList lines = head.split('\n');
    const QByteArrayList requestLine = lines.first().trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1."))
        return false;
    request.method = QString::fromLatin1(requestLine.at(0));
    const QByteArray target = requestLine.at(1);
    const qsizetype question = target.indexOf('?');
    request.path = QString::fromUtf8(QByteArray::fromPercentEncoding(question < 0 ? target : target.left(question)));
    if (question >= 0)
        request.query = decodedQuery(target.mid(question + 1));

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (line.isEmpty())
            continue;
        if (colon <= 0)
            return false;
        const QString name = QString::fromLatin1(line.left(colon).trimmed().toLower());
        const QString value = QString::fromUtf8(line.mid(colon + 1).trimmed());
        const auto existing = request.headers.find(name);
        if (existing == request.headers.end())
            request.headers.insert(name, value);
        else
            *existing += ", " + value;
    }
    if (request.headers.contains("transfer-encoding"))
        return false; // request bodies are read by length only
    bool ok = true;
    const QString length = request.headers.value("content-length", "0");
    contentLength = length.toLongLong(&ok);
    return ok && contentLength >= 0 && contentLength <= maxBodyBytes;
}

QByteArray responseHead(const ScriptedResponse &response)
{
    QList<std::pair<QByteArray, std::optional<QByteArray>>> headers{
        {"Content-Length", QByteArray::number(response.body.size() * response.repeat)}, {"Connection", "close"}};
    if (response.isJson)
        headers.append({QByteArray("Content-Type"), QByteArray("application/json")});
    for (const auto &scripted : response.headers) {
        const auto same = std::find_if(headers.begin(), headers.end(), [&scripted](const auto &header) {
            return header.first.compare(scripted.first, Qt::CaseInsensitive) == 0;
        });
        if (same != headers.end())
            same->second = scripted.second;
        else
            headers.append(scripted);
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " \r\n";
    for (const auto &[name, value] : headers) {
        if (value)
            head += name + ": " + *value + "\r\n";
    }
    return head + "\r\n";
}

} // namespace

QByteArray LoggedRequest::logLine() const
{
    return "{\"method\": " + quoted(method) + ", \"path\": " + quoted(path) + ", \"query\": " + mapText(query) +
           ", \"headers\": " + mapText(headers) + ", \"body\": " + quoted(QString::fromUtf8(body)) + '}';
}

// One connection: reads a single request, then writes the scripted answer and closes.
class GatewayStandIn::Exchange : public QObject
{
public:
    Exchange(QTcpSocket *socket, GatewayStandIn *standIn)
        : QObject(socket)
        , m_socket(socket)
        , m_standIn(standIn)
    {
        connect(socket, &QTcpSocket::readyRead, this, &Exchange::read);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    void send(const ScriptedResponse &response)
    {
        if (response.drop) {
            // A zero linger turns the close into a reset, as a crashed or overloaded gateway would.
            const struct linger reset
            {
                1, 0
            };
            ::setsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            m_socket->abort();
            return;
        }
        m_body = response.body;
        m_total = response.body.size() * response.repeat;
        m_socket->write(responseHead(response));
        if (response.trickleMs > 0) {
            auto *timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, [this] {
                write(1);
                if (m_sent == m_total)
                    finish();
            });
            timer->start(response.trickleMs);
        } else {
            connect(m_socket, &QTcpSocket::bytesWritten, this, [this] { pump(); });
            pump();
        }
    }

private:
    void read()
    {
        m_received += m_socket->readAll();
        if (m_contentLength < 0) {
            const qsizetype end = m_received.indexOf("\r\n\r\n");
            if (end < 0) {
                if (m_received.size() > maxHeadBytes)
                    refuse();
                return;
            }
            if (!parseHead(m_received.left(end), m_request, m_contentLength))
                return refuse();
            m_received.remove(0, end + 4);
        }
        if (m_received.size() < m_contentLength)
            return;
        m_request.body = m_received.left(m_contentLength);
        disconnect(m_socket, &QTcpSocket::readyRead, this, nullptr);
        m_standIn->answer(m_request, this);
    }

    void refuse()
    {
        disconnect(m_socket, &QTcpSocket::readyRead, this, nullptr);
        m_socket->write("HTTP/1.1 400 \r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        m_socket->disconnectFromHost();
    }

    void pump()
    {
        while (m_sent < m_total && m_socket->bytesToWrite() < writeAhead)
            write(chunkBytes);
        if (m_sent == m_total)
            finish();
    }

    void write(qint64 most)
    {
        if (m_sent < m_total) {
            const qint64 offset = m_sent % m_body.size();
            const qint64 count = std::min(most, m_body.size() - offset);
            m_socket->write(m_body.constData() + offset, count);
            m_sent += count;
        }
    }

    void finish()
    {
        if (!m_closing) {
            m_closing = true;
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket *m_socket;
    GatewayStandIn *m_standIn;
    QByteArray m_received;
    LoggedRequest m_request;
    qint64 m_contentLength = -1;
    QByteArray m_body;
    qint64 m_total = 0;
    qint64 m_sent = 0;
    bool m_closing = false;
};

GatewayStandIn::GatewayStandIn(GatewayScenario scenario, QObject *parent)
    : QObject(parent)
    , m_scenario(std::move(scenario))
{}

GatewayStandIn::~GatewayStandIn() = default;

void GatewayStandIn::setScenario(GatewayScenario scenario)
{
    m_scenario = std::move(scenario);
}

void GatewayStandIn::useTls(const QSslCertificate &certificate, const QSslKey &key)
{
    m_certificate = certificate;
    m_key = key;
}

void GatewayStandIn::setLogFile(const QString &path)
{
    m_logPath = path;
}

void GatewayStandIn::listen(const QHostAddress &address, quint16 port)
{
    if (m_certificate.isNull()) {
        m_server = std::make_unique<QTcpServer>();
    } else {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(m_certificate);
        configuration.setPrivateKey(m_key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(configuration);
        m_server = std::move(server);
    }
    // Plain and TLS servers both announce a connection here, the TLS one after its handshake.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &GatewayStandIn::accept);
    if (!m_server->listen(address, port))
        throw PlatformError(QStringLiteral("Cannot listen on %1:%2: %3")
                                .arg(address.toString())
                                .arg(port)
                                .arg(m_server->errorString()));
}

QUrl GatewayStandIn::baseUrl() const
{
    QUrl url;
    url.setScheme(m_certificate.isNull() ? "http" : "https");
    url.setHost(m_server->serverAddress().toString());
    url.setPort(m_server->serverPort());
    url.setPath("/");
    return url;
}

void GatewayStandIn::releaseHeld()
{
    const QList<std::function<void()>> held = std::exchange(m_held, {});
    for (const auto &release : held)
        release();
}

void GatewayStandIn::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection())
        new Exchange(socket, this);
}

void GatewayStandIn::answer(const LoggedRequest &request, Exchange *exchange)
{
    m_requests.append(request);
    if (!m_logPath.isEmpty()) {
        QFile log(m_logPath);
        if (log.open(QIODevice::Append))
            log.write(request.logLine() + '\n');
    }
    emit requestLogged();

    std::optional<ScriptedResponse> response =
        m_scenario.next(request.method, request.path, request.query.value("action"), request.body);
    if (!response) {
        response.emplace();
        response->status = 404;
    }
    QPointer<Exchange> target(exchange);
    auto start = [response = *response, target] {
        if (target)
            QTimer::singleShot(response.delayMs, target.data(), [response, target] { target->send(response); });
    };
    if (response->hold)
        m_held.append(start);
    else
        start();
}

} // namespace wrenlow::test
