#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"

#include "common/WrenlowError.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

GatewayScenario scenario(const QString &json)
{
    return GatewayScenario(QJsonDocument::fromJson(json.toUtf8()).object());
}

struct Exchanged
{
    QByteArray bytes;
    QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
    qint64 elapsedMs = 0;

    QByteArray body() const { return bytes.mid(bytes.indexOf("\r\n\r\n") + 4); }
    int status() const { return bytes.mid(9, 3).toInt(); }
};

// Sends raw bytes, over `tls` when given, and collects everything until the stand-in closes the connection.
Exchanged exchange(const QUrl &base, const QByteArray &request, QSslSocket *tls = nullptr)
{
    Exchanged result;
    QElapsedTimer clock;
    clock.start();
    QTcpSocket plain;
    QTcpSocket &socket = tls ? *tls : plain;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { result.bytes += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](auto error) { result.error = error; });
    if (tls)
        tls->connectToHostEncrypted(base.host(), quint16(base.port()));
    else
        socket.connectToHost(base.host(), quint16(base.port()));
    socket.write(request);
    while (socket.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < 5000)
        QTest::qWait(5);
    result.elapsedMs = clock.elapsed();
    return result;
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
        QTest::newRow("routes and methods keep separate places")
            << QByteArrayList{"GET /sheets", "GET /health", "POST /sheets", "GET /sheets"}
            << QList<int>{500, 204, 429, 503};
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
        for (qsizetype i = 0; i < requests.size(); ++i)
            QCOMPARE(exchange(standIn.baseUrl(), requests.at(i) + " HTTP/1.1\r\n\r\n").status(), statuses.at(i));
        QCOMPARE(standIn.requests().size(), requests.size());
    }

    void answersByBodyWhereTheRouteAsks_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::newRow("condition met") << QByteArray(R"({"identifier": "anyone", "pin": "123456"})") << 200;
        QTest::newRow("other value") << QByteArray(R"({"identifier": "anyone", "pin": "654321"})") << 401;
        QTest::newRow("number, not text") << QByteArray(R"({"pin": 123456})") << 401;
        QTest::newRow("not JSON") << QByteArray("pin=123456") << 401;
    }

    void answersByBodyWhereTheRouteAsks()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        GatewayStandIn standIn(scenario(R"({
            "POST /login": [{"whenBody": {"pin": "123456"}, "status": 200}, {"status": 401}]
        })"));
        standIn.listen();
        const QByteArray request =
            "POST /login HTTP/1.1\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        // The answer does not move on: the same body gets the same answer again.
        QCOMPARE(exchange(standIn.baseUrl(), request).status(), status);
        QCOMPARE(exchange(standIn.baseUrl(), request).status(), status);
    }

    void logsEachRequestFormDecoded()
    {
        QTemporaryDir folder;
        const QString logPath = folder.filePath("requests.jsonl");
        GatewayStandIn standIn;
        standIn.setLogFile(logPath);
        standIn.listen();
        exchange(standIn.baseUrl(), "POST /api/v1/caf%C3%A9?p=A+B%2BC&t=%26%3D%25%23&a=x=y&e=&flag&n=%C3%A9t%C3%A9 "
                                    "HTTP/1.1\r\nAuthorization: Bearer T\r\nX-Twice: a\r\nx-twice: b\r\n"
                                    "Content-Length: 5\r\n\r\n\xC3\xA9\n\t/");
        exchange(standIn.baseUrl(), get("/health"));

        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(),
                 QByteArray(R"({"method": "POST", "path": "/api/v1/café", )"
                            R"("query": {"a": "x=y", "e": "", "flag": "", "n": "été", "p": "A B+C", "t": "&=%#"}, )"
                            R"("headers": {"authorization": "Bearer T", "content-length": "5", "x-twice": "a, b"}, )"
                            R"("body": "é\n\t/"})"
                            "\n"
                            R"({"method": "GET", "path": "/health", "query": {}, "headers": {"host": "127.0.0.1"}, )"
                            R"("body": ""})"
                            "\n"));
    }

    void answersAsScripted_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("JSON body with its content type")
            << R"({"status": 200, "json": {"b": [1, "x"], "a": null}})"
            << QByteArray("HTTP/1.1 200 \r\nContent-Length: 22\r\nConnection: close\r\nContent-Type: application/json"
                          "\r\n\r\n{\"a\":null,\"b\":[1,\"x\"]}");
        QTest::newRow("raw body, extra header, replaced length")
            << R"({"status": 503, "body": "busy", "headers": {"Retry-After": "3", "content-length": "99"}})"
            << QByteArray("HTTP/1.1 503 \r\nContent-Length: 99\r\nConnection: close\r\nRetry-After: 3\r\n\r\nbusy");
        QTest::newRow("removed length, repeated body")
            << R"({"body": "ab", "repeat": 3, "headers": {"Content-Length": null}})"
            << QByteArray("HTTP/1.1 200 \r\nConnection: close\r\n\r\nababab");
        QTest::newRow("bytes that are not UTF-8")
            << R"({"bodyBase64": "/34A"})"
            << QByteArray("HTTP/1.1 200 \r\nContent-Length: 3\r\nConnection: close\r\n\r\n\xff~\0", 58);
        QTest::newRow("large body, streamed whole")
            << R"({"body": "0123456789", "repeat": 500000})"
            << "HTTP/1.1 200 \r\nContent-Length: 5000000\r\nConnection: close\r\n\r\n" +
                   QByteArray("0123456789").repeated(500000);
    }

    void answersAsScripted()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, expected);
        GatewayStandIn standIn(scenario("{\"GET /x\": [" + script + "]}"));
        standIn.listen();
        const Exchanged answer = exchange(standIn.baseUrl(), get("/x"));
        QCOMPARE(answer.bytes, expected);
        QCOMPARE(answer.error, QAbstractSocket::RemoteHostClosedError);
    }

    void delaysHoldsDropsAndTrickles_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<QString>("body"); // empty when the connection is reset without an answer

        QTest::newRow("delay") << R"({"delayMs": 300, "body": "late"})" << 300 << "late";
        QTest::newRow("trickle") << R"({"trickleMs": 60, "body": "slow!"})" << 240 << "slow!";
        QTest::newRow("drop") << R"({"drop": true})" << 0 << "";
        QTest::newRow("hold until released") << R"({"hold": true, "body": "held"})" << 300 << "held";
    }

    void delaysHoldsDropsAndTrickles()
    {
        QFETCH(QString, script);
        QFETCH(int, atLeastMs);
        QFETCH(QString, body);
        GatewayStandIn standIn(scenario("{\"GET /x\": [" + script + "]}"));
        standIn.listen();
        int held = 0; // answers held back when the timer releases them
        QTimer::singleShot(300, &standIn, [&] {
            held = standIn.heldCount();
            standIn.releaseHeld();
        });
        const Exchanged answer = exchange(standIn.baseUrl(), get("/x"));
        QCOMPARE(held, script.contains("hold") ? 1 : 0);
        QVERIFY2(answer.elapsedMs >= atLeastMs, QByteArray::number(answer.elapsedMs));
        QVERIFY(answer.elapsedMs < 3000);
        QCOMPARE(answer.body(), body.toUtf8());
        QCOMPARE(answer.bytes.isEmpty(), body.isEmpty());
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
        QTest::addColumn<QString>("script");
        QTest::newRow("unknown member") << R"({"GET /x": [{"stauts": 200}]})";
        QTest::newRow("json and body") << R"({"GET /x": [{"json": {}, "body": ""}]})";
        QTest::newRow("bytes not Base64") << R"({"GET /x": [{"bodyBase64": "*"}]})";
        QTest::newRow("not an array") << R"({"GET /x": {"status": 200}})";
        QTest::newRow("status as text") << R"({"GET /x": [{"status": "200"}]})";
        QTest::newRow("header as number") << R"({"GET /x": [{"headers": {"A": 1}}]})";
    }

    void refusesBadScenarios()
    {
        QFETCH(QString, script);
        QVERIFY_THROWS_EXCEPTION(PlatformError, scenario(script));
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
        QTimer::singleShot(300, &standIn, [&] { standIn.write("release\n"); }); // each line releases what is held
        const Exchanged answer = exchange(base, get("/sheets?action=status"), &socket);
        QVERIFY2(answer.elapsedMs >= 300, QByteArray::number(answer.elapsedMs));
        QCOMPARE(answer.body(), "fine");

        standIn.terminate();
        QVERIFY(standIn.waitForFinished(5000));
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), R"({"method": "GET", "path": "/sheets", "query": {"action": "status"}, )"
                                R"("headers": {"host": "127.0.0.1"}, "body": ""})"
                                "\n");
    }

    void executableRefusesBadArguments()
    {
        const QStringList tlsWithoutKey{"--listen", "127.0.0.1:0", "--scenario", "s", "--log", "l", "--tls", "c"};
        QCOMPARE(QProcess::execute(WRENLOW_STANDIN_EXECUTABLE, tlsWithoutKey), 2);
        const QStringList noScenarioFile{"--listen", "127.0.0.1:0", "--scenario", "/no/such.json", "--log", "l"};
        QCOMPARE(QProcess::execute(WRENLOW_STANDIN_EXECUTABLE, noScenarioFile), 1);
    }
};

QTEST_GUILESS_MAIN(TestGatewayStandIn)
#include "TestGatewayStandIn.moc"
