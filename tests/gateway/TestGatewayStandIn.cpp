#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"

#include "common/WrenlowError.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

GatewayScenario scenario(const char *json)
{
    return GatewayScenario(QJsonDocument::fromJson(json).object());
}

struct Exchanged
{
    QByteArray bytes;
    QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
    qint64 elapsedMs = 0;

    QByteArray head() const { return bytes.left(bytes.indexOf("\r\n\r\n")); }
    QByteArray body() const { return bytes.mid(bytes.indexOf("\r\n\r\n") + 4); }
    int status() const { return bytes.mid(9, 3).toInt(); }
};

// Sends raw bytes and collects everything until the stand-in closes the connection.
Exchanged exchange(QTcpSocket &socket, const QUrl &base, const QByteArray &request, int limitMs = 5000)
{
    Exchanged result;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { result.bytes += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](auto error) { result.error = error; });
    if (auto *ssl = qobject_cast<QSslSocket *>(&socket))
        ssl->connectToHostEncrypted(base.host(), quint16(base.port()));
    else
        socket.connectToHost(base.host(), quint16(base.port()));
    socket.write(request);
    while (socket.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < limitMs)
        QTest::qWait(5);
    result.elapsedMs = clock.elapsed();
    return result;
}

Exchanged exchange(const QUrl &base, const QByteArray &request, int limitMs = 5000)
{
    QTcpSocket socket;
    return exchange(socket, base, request, limitMs);
}

QByteArray get(const QByteArray &target)
{
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

} // namespace

class TestGatewayStandIn : public QObject
{
    Q_OBJECT

private slots:
    void routesPlayInOrderAndRepeatTheirLast_data()
    {
        QTest::addColumn<QByteArrayList>("requests");
        QTest::addColumn<QList<int>>("statuses");

        QTest::newRow("sequence, last repeats")
            << QByteArrayList{"GET /sheets", "GET /sheets", "GET /sheets", "GET /sheets"}
            << QList<int>{500, 503, 200, 200};
        QTest::newRow("the action's own route wins over the plain one")
            << QByteArrayList{"GET /sheets?action=listProjects", "GET /sheets?action=status",
                              "GET /sheets?action=listProjects"}
            << QList<int>{201, 500, 202};
        QTest::newRow("routes keep separate places")
            << QByteArrayList{"GET /sheets", "GET /health", "GET /sheets"} << QList<int>{500, 204, 503};
        QTest::newRow("method is part of the route")
            << QByteArrayList{"POST /sheets", "GET /sheets"} << QList<int>{429, 500};
        QTest::newRow("unscripted routes answer 404")
            << QByteArrayList{"GET /other", "DELETE /sheets", "GET /sheets/"} << QList<int>{404, 404, 404};
        QTest::newRow("plus in the action is a blank")
            << QByteArrayList{"GET /sheets?action=list+all"} << QList<int>{206};
    }

    void routesPlayInOrderAndRepeatTheirLast()
    {
        QFETCH(QByteArrayList, requests);
        QFETCH(QList<int>, statuses);
        GatewayStandIn standIn(scenario(R"({
            "GET /sheets": [{"status": 500}, {"status": 503}, {"status": 200}],
            "GET /sheets?action=listProjects": [{"status": 201}, {"status": 202}],
            "GET /sheets?action=list all": [{"status": 206}],
            "GET /health": [{"status": 204}],
            "POST /sheets": [{"status": 429}]
        })"));
        standIn.listen();
        for (qsizetype i = 0; i < requests.size(); ++i) {
            const QByteArrayList parts = requests.at(i).split(' ');
            const Exchanged answer =
                exchange(standIn.baseUrl(), parts.at(0) + ' ' + parts.at(1) + " HTTP/1.1\r\nContent-Length: 0\r\n\r\n");
            QCOMPARE(answer.status(), statuses.at(i));
        }
        QCOMPARE(standIn.requests().size(), requests.size());
    }

    void queriesAreFormDecoded_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QVariantMap>("query");

        QTest::newRow("plus is a blank, escapes are decoded")
            << QByteArray("/sheets?project=A+B%2BC&tag=%26%3D%25%23") << "/sheets"
            << QVariantMap{{"project", "A B+C"}, {"tag", "&=%#"}};
        QTest::newRow("equals sign inside a value, empty value, bare name")
            << QByteArray("/sheets?a=x=y&fsnCode=&flag") << "/sheets"
            << QVariantMap{{"a", "x=y"}, {"fsnCode", ""}, {"flag", ""}};
        QTest::newRow("UTF-8 escapes and escaped path")
            << QByteArray("/api/v1/caf%C3%A9?name=%C3%A9t%C3%A9") << "/api/v1/café" << QVariantMap{{"name", "été"}};
        QTest::newRow("no query") << QByteArray("/health") << "/health" << QVariantMap{};
    }

    void queriesAreFormDecoded()
    {
        QFETCH(QByteArray, target);
        QFETCH(QString, path);
        QFETCH(QVariantMap, query);
        GatewayStandIn standIn;
        standIn.listen();
        QCOMPARE(exchange(standIn.baseUrl(), get(target)).status(), 404);
        QCOMPARE(standIn.requests().size(), 1);
        QCOMPARE(standIn.requests().first().path, path);
        QVariantMap seen;
        for (auto [name, value] : standIn.requests().first().query.asKeyValueRange())
            seen.insert(name, value);
        QCOMPARE(seen, query);
    }

    void logsEachRequestAsOneLine()
    {
        QTemporaryDir folder;
        const QString logPath = folder.filePath("requests.jsonl");
        GatewayStandIn standIn(scenario(R"({"POST /sheets": [{"json": {"ok": true}}]})"));
        standIn.setLogFile(logPath);
        standIn.listen();
        exchange(standIn.baseUrl(), "POST /sheets?x=1+2 HTTP/1.1\r\nAuthorization: Bearer T\r\nX-Twice: a\r\n"
                                    "x-twice: b\r\nContent-Length: 5\r\n\r\n\xC3\xA9\n\t/");
        exchange(standIn.baseUrl(), get("/health"));

        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(),
                 QByteArray(R"({"method": "POST", "path": "/sheets", "query": {"x": "1 2"}, )"
                            R"("headers": {"authorization": "Bearer T", "content-length": "5", "x-twice": "a, b"}, )"
                            R"("body": "é\n\t/"})"
                            "\n"
                            R"({"method": "GET", "path": "/health", "query": {}, "headers": {"host": "127.0.0.1"}, )"
                            R"("body": ""})"
                            "\n"));
    }

    void answersAsScripted_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("JSON body with its content type")
            << QByteArray(R"({"status": 200, "json": {"b": [1, "x"], "a": null}})")
            << QByteArray("HTTP/1.1 200 \r\nContent-Length: 22\r\nConnection: close\r\nContent-Type: application/json"
                          "\r\n\r\n{\"a\":null,\"b\":[1,\"x\"]}");
        QTest::newRow("raw body, extra header, replaced length")
            << QByteArray(R"({"status": 503, "body": "busy", "headers": {"Retry-After": "3", "content-length": "99"}})")
            << QByteArray("HTTP/1.1 503 \r\nContent-Length: 99\r\nConnection: close\r\nRetry-After: 3\r\n\r\nbusy");
        QTest::newRow("removed length, repeated body")
            << QByteArray(R"({"body": "ab", "repeat": 3, "headers": {"Content-Length": null}})")
            << QByteArray("HTTP/1.1 200 \r\nConnection: close\r\n\r\nababab");
        QTest::newRow("bytes that are not UTF-8")
            << QByteArray(R"({"bodyBase64": "/34A"})")
            << QByteArray("HTTP/1.1 200 \r\nContent-Length: 3\r\nConnection: close\r\n\r\n\xff~\0", 58);
        QTest::newRow("empty answer") << QByteArray(R"({"status": 204})")
                                      << QByteArray("HTTP/1.1 204 \r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    }

    void answersAsScripted()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, expected);
        GatewayStandIn standIn(scenario("{\"GET /x\": [" + script + "]}"));
        standIn.listen();
        const Exchanged answer = exchange(standIn.baseUrl(), get("/x"));
        QCOMPARE(answer.bytes, expected);
        QCOMPARE(answer.error, QAbstractSocket::RemoteHostClosedError);
    }

    void streamsLargeBodiesWhole()
    {
        GatewayStandIn standIn(scenario(R"({"GET /big": [{"body": "0123456789", "repeat": 500000}]})"));
        standIn.listen();
        const Exchanged answer = exchange(standIn.baseUrl(), get("/big"), 20000);
        QVERIFY(answer.head().contains("Content-Length: 5000000"));
        QCOMPARE(answer.body().size(), 5000000);
        QCOMPARE(answer.body().count("0123456789"), 500000);
    }

    void holdsUntilReleased()
    {
        GatewayStandIn standIn(scenario(R"({"GET /x": [{"hold": true, "status": 202}]})"));
        standIn.listen();
        QTcpSocket first;
        QByteArray received;
        connect(&first, &QTcpSocket::readyRead, this, [&] { received += first.readAll(); });
        first.connectToHost(standIn.baseUrl().host(), quint16(standIn.baseUrl().port()));
        first.write(get("/x"));
        QTRY_COMPARE(standIn.heldCount(), 1);
        QTest::qWait(200);
        QVERIFY(received.isEmpty());
        standIn.releaseHeld();
        QCOMPARE(standIn.heldCount(), 0);
        QTRY_VERIFY(received.startsWith("HTTP/1.1 202 "));
    }

    void timesDropsAndTrickles_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("reset");

        QTest::newRow("delay") << QByteArray(R"({"delayMs": 300, "body": "late"})") << 300 << QByteArray("late")
                               << false;
        QTest::newRow("trickle") << QByteArray(R"({"trickleMs": 60, "body": "slow!"})") << 240 << QByteArray("slow!")
                                 << false;
        QTest::newRow("drop") << QByteArray(R"({"drop": true})") << 0 << QByteArray() << true;
    }

    void timesDropsAndTrickles()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, atLeastMs);
        QFETCH(QByteArray, body);
        QFETCH(bool, reset);
        GatewayStandIn standIn(scenario("{\"GET /x\": [" + script + "]}"));
        standIn.listen();
        const Exchanged answer = exchange(standIn.baseUrl(), get("/x"));
        QVERIFY2(answer.elapsedMs >= atLeastMs, QByteArray::number(answer.elapsedMs));
        QVERIFY(answer.elapsedMs < 3000);
        QCOMPARE(answer.body(), body);
        QCOMPARE(answer.bytes.isEmpty(), reset);
        QCOMPARE(answer.error, QAbstractSocket::RemoteHostClosedError);
    }

    void refusesWhatItCannotRead_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("not HTTP") << QByteArray("HELLO\r\n\r\n");
        QTest::newRow("chunked body") << QByteArray("POST /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n");
        QTest::newRow("bad length") << QByteArray("POST /x HTTP/1.1\r\nContent-Length: -4\r\n\r\n");
        QTest::newRow("huge head") << "GET /x HTTP/1.1\r\nX: " + QByteArray(70000, 'a');
    }

    void refusesWhatItCannotRead()
    {
        QFETCH(QByteArray, request);
        GatewayStandIn standIn(scenario(R"({"GET /x": [{}], "POST /x": [{}]})"));
        standIn.listen();
        QCOMPARE(exchange(standIn.baseUrl(), request).status(), 400);
        QVERIFY(standIn.requests().isEmpty());
    }

    void refusesBadScenarios_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("unknown member") << QByteArray(R"({"GET /x": [{"stauts": 200}]})");
        QTest::newRow("json and body") << QByteArray(R"({"GET /x": [{"json": {}, "body": ""}]})");
        QTest::newRow("body and bytes") << QByteArray(R"({"GET /x": [{"bodyBase64": "", "body": ""}]})");
        QTest::newRow("bytes not Base64") << QByteArray(R"({"GET /x": [{"bodyBase64": "*"}]})");
        QTest::newRow("not an array") << QByteArray(R"({"GET /x": {"status": 200}})");
        QTest::newRow("status as text") << QByteArray(R"({"GET /x": [{"status": "200"}]})");
        QTest::newRow("header as number") << QByteArray(R"({"GET /x": [{"headers": {"A": 1}}]})");
    }

    void refusesBadScenarios()
    {
        QFETCH(QByteArray, script);
        QVERIFY_THROWS_EXCEPTION(PlatformError, scenario(script));
    }

    void servesTls()
    {
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        GatewayStandIn standIn(scenario(R"({"GET /x": [{"body": "secret"}]})"));
        standIn.useTls(certificate.certificate(), certificate.key());
        standIn.listen();
        QCOMPARE(standIn.baseUrl().scheme(), "https");

        QSslSocket socket;
        socket.setSslConfiguration(certificate.trustingConfiguration());
        const Exchanged answer = exchange(socket, standIn.baseUrl(), get("/x"));
        QCOMPARE(answer.body(), "secret");
        QCOMPARE(standIn.requests().size(), 1);
    }

    void executableServesAndLogs()
    {
        QTemporaryDir folder;
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        QFile script(folder.filePath("scenario.json"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(R"({"GET /sheets?action=status": [{"hold": true, "body": "fine"}]})");
        script.close();
        const QString logPath = folder.filePath("log.jsonl");

        QProcess standIn;
        standIn.start(WRENLOW_STANDIN_EXECUTABLE,
                      {"--listen", "127.0.0.1:0", "--scenario", script.fileName(), "--log", logPath, "--tls",
                       certificate.certificatePath(), certificate.keyPath()});
        QVERIFY(standIn.waitForReadyRead(10000));
        const QByteArray banner = standIn.readLine().trimmed();
        QVERIFY2(banner.startsWith("Listening on https://127.0.0.1:"), banner.constData());
        const QUrl base(QString::fromUtf8(banner.mid(banner.indexOf("https://"))));

        QSslSocket socket;
        socket.setSslConfiguration(certificate.trustingConfiguration());
        QByteArray received;
        connect(&socket, &QTcpSocket::readyRead, this, [&] { received += socket.readAll(); });
        socket.connectToHostEncrypted(base.host(), quint16(base.port()));
        socket.write(get("/sheets?action=status"));
        QTRY_VERIFY(QFileInfo(logPath).size() > 0);
        QTest::qWait(100);
        QVERIFY(received.isEmpty());
        standIn.write("release\n");
        QTRY_VERIFY(received.endsWith("\r\n\r\nfine"));

        standIn.terminate();
        QVERIFY(standIn.waitForFinished(5000));
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), R"({"method": "GET", "path": "/sheets", "query": {"action": "status"}, )"
                                R"("headers": {"host": "127.0.0.1"}, "body": ""})"
                                "\n");
    }

    void executableRefusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("nothing") << QStringList{} << 2;
        QTest::newRow("tls without key") << QStringList{"--listen", "127.0.0.1:0", "--scenario", "s",
                                                        "--log",    "l",           "--tls",      "c"}
                                         << 2;
        QTest::newRow("missing scenario file")
            << QStringList{"--listen", "127.0.0.1:0", "--scenario", "/no/such.json", "--log", "l"} << 1;
    }

    void executableRefusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QProcess standIn;
        standIn.start(WRENLOW_STANDIN_EXECUTABLE, arguments);
        QVERIFY(standIn.waitForFinished(10000));
        QCOMPARE(standIn.exitCode(), status);
    }
};

QTEST_GUILESS_MAIN(TestGatewayStandIn)
#include "TestGatewayStandIn.moc"
