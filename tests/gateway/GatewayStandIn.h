#pragma once

#include "GatewayScenario.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace wrenlow::test {

// One request as the stand-in saw it: the query decoded the way a form-decoding gateway does ("+" is a blank),
// header names in lower case.
struct LoggedRequest
{
    QString method;
    QString path;
    QMap<QString, QString> query;
    QMap<QString, QString> headers;
    QByteArray body;

    // One line of the request log: {"method": ..., "path": ..., "query": {...}, "headers": {...}, "body": ...}
    QByteArray logLine() const;
};

// A loopback HTTP(S) server that answers from a scenario and logs every request. Used in-process by the tests
// and, through its executable, by scripted checks and the demo.
class GatewayStandIn : public QObject
{
    Q_OBJECT

public:
    explicit GatewayStandIn(GatewayScenario scenario = {}, QObject *parent = nullptr);
    ~GatewayStandIn() override;

    void setScenario(GatewayScenario scenario);
    // Serve HTTPS with this certificate and key from the next listen() on.
    void useTls(const QSslCertificate &certificate, const QSslKey &key);
    // Every request is also appended to this file, one log line each.
    void setLogFile(const QString &path);

    // Throws PlatformError when the address cannot be bound. Port 0 picks a free port.
    void listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    // "http://127.0.0.1:PORT/" or "https://...", with the trailing slash the product's base URL has.
    QUrl baseUrl() const;

    const QList<LoggedRequest> &requests() const { return m_requests; }
    int heldCount() const { return int(m_held.size()); }
    // Sends every answer that a scenario told the stand-in to hold.
    void releaseHeld();

signals:
    void requestLogged();

private:
    class Exchange;

    void accept();
    // The scripted answer to a request, taken when its head has arrived.
    bool answersByBody(const LoggedRequest &request) const;
    ScriptedResponse plan(const LoggedRequest &request);
    void answer(const LoggedRequest &request, const ScriptedResponse &response, Exchange *exchange);

    GatewayScenario m_scenario;
    std::unique_ptr<QTcpServer> m_server;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_logPath;
    QList<LoggedRequest> m_requests;
    QList<std::function<void()>> m_held;
};

} // namespace wrenlow::test
