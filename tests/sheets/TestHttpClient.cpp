#include "common/GatewayUrl.h"
#include "common/HttpClient.h"
#include "common/WrenlowError.h"

#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"
#include "TaskWait.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <sys/resource.h>

using namespace wrenlow;
using namespace wrenlow::test;
using wrenlow::support::waitForTask;
using namespace std::chrono_literals;

namespace {

// A stand-in that answers "METHOD /x" with the one scripted response.
std::unique_ptr<GatewayStandIn> serving(const QByteArray &response, const QByteArray &route = "GET /x")
{
    auto standIn = std::make_unique<GatewayStandIn>(
        GatewayScenario(QJsonDocument::fromJson("{\"" + route + "\": [" + response + "]}").object()));
    standIn->listen();
    return standIn;
}

HttpOptions limits(std::chrono::milliseconds request = 5s, std::chrono::milliseconds resource = 5s)
{
    HttpOptions options;
    options.requestTimeout = request;
    options.resourceTimeout = resource;
    return options;
}

HttpResponse send(HttpClient &client, const QUrl &url, const QByteArray &method = "GET", const QByteArray &body = {},
                  const HttpHeaders &headers = {})
{
    return waitForTask(client.send(HttpRequest{method, url, headers, body}));
}

// The error text of a failed exchange; empty when it did not fail.
QString failure(HttpClient &client, const QUrl &url)
{
    try {
        send(client, url);
    } catch (const PlatformError &error) {
        return error.description();
    }
    return {};
}

QUrl xOf(const GatewayStandIn &standIn)
{
    return endpointUrl(standIn.baseUrl(), "x");
}

#if defined(__SANITIZE_ADDRESS__) // g++
constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature) // clang
constexpr bool underAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool underAddressSanitizer = false;
#endif

// Peak resident memory of this process in kilobytes.
qint64 peakMemoryKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
#ifdef Q_OS_MACOS
    return usage.ru_maxrss / 1024; // macOS counts bytes
#else
    return usage.ru_maxrss;
#endif
}

} // namespace

class TestHttpClient : public QObject
{
    Q_OBJECT

private slots:
    void endpointsKeepTheBasePath()
    {
        QCOMPARE(endpointUrl(QUrl("https://gw.example/v2/"), "api/v1/auth/login").toString(),
                 "https://gw.example/v2/api/v1/auth/login");
        QCOMPARE(endpointUrl(QUrl("http://127.0.0.1:8123/"), "health").toString(), "http://127.0.0.1:8123/health");
    }

    // Qt flags 4xx and 5xx as errors while the answer is intact; the caller still gets status, headers and body.
    void errorStatusesComeWithTheirAnswer()
    {
        const auto standIn = serving(R"({"status": 401, "body": "token expired", "headers": {"Retry-After": "2"}})");
        HttpClient client(limits());
        const HttpResponse response = send(client, xOf(*standIn));
        QCOMPARE(response.status, 401);
        QCOMPARE(response.body, "token expired");
        QCOMPARE(response.header("RETRY-after"), "2");
    }

    // Qt repeats a request by itself when the connection breaks before the answer; a POST may not be repeated.
    void brokenPostIsNotRepeated()
    {
        const auto standIn = serving(R"({"drop": true}, {"status": 200})", "POST /x");
        HttpClient client(limits());
        QVERIFY_THROWS_EXCEPTION(PlatformError, send(client, xOf(*standIn), "POST", "{}"));
        QCOMPARE(standIn->requests().size(), 1);
        QCOMPARE(send(client, xOf(*standIn), "POST", "{\"a\":1}").status, 200);
        QCOMPARE(standIn->requests().last().body, "{\"a\":1}");
        QCOMPARE(standIn->requests().last().headers.value("content-length"), "7");
    }

    void headerValuesCannotAddHeaders_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("line feed") << QByteArray("Bearer A\nX-Evil: 1");
        QTest::newRow("NUL") << QByteArray("Bearer A\0X", 10);
    }
    void headerValuesCannotAddHeaders()
    {
        QFETCH(QByteArray, value);
        GatewayStandIn standIn;
        standIn.listen();
        HttpClient client(limits());
        QVERIFY_THROWS_EXCEPTION(PlatformError, send(client, xOf(standIn), "GET", {}, {{"Authorization", value}}));
        QVERIFY(standIn.requests().isEmpty());
    }

    void timeLimitsEndExchanges_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("requestMs");
        QTest::addColumn<int>("resourceMs");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<int>("atMostMs");
        QTest::newRow("never answers: silence limit") << QByteArray(R"({"hold": true})") << 300 << 0 << 250 << 1500;
        // Each byte resets the silence limit, so only the whole limit can end a trickle.
        QTest::newRow("trickle outlasts the whole limit")
            << "{\"trickleMs\": 40, \"body\": \"" + QByteArray(200, 'x') + "\"}" << 300 << 800 << 750 << 2500;
    }
    void timeLimitsEndExchanges()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, requestMs);
        QFETCH(int, resourceMs);
        QFETCH(int, atLeastMs);
        QFETCH(int, atMostMs);
        const auto standIn = serving(script);
        HttpClient client(limits(std::chrono::milliseconds(requestMs), std::chrono::milliseconds(resourceMs)));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(failure(client, xOf(*standIn)), "The request to 127.0.0.1 timed out.");
        QVERIFY2(clock.elapsed() >= atLeastMs && clock.elapsed() <= atMostMs, QByteArray::number(clock.elapsed()));
    }

    // A body is refused as soon as it passes the bound, whether or not its length was declared; a 50 MB answer
    // under the default bound must not be held in memory on the way.
    void bodiesAreBounded_data()
    {
        QTest::addColumn<int>("chunk");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<bool>("declared");
        QTest::addColumn<qint64>("bound"); // 0: the default of 8 MiB
        QTest::newRow("exactly the bound") << 1 << 1000 << true << qint64(1000);
        QTest::newRow("one byte over") << 1 << 1001 << true << qint64(1000);
        QTest::newRow("50 MB until the connection closes") << 1000 << 50000 << false << qint64(0);
    }
    void bodiesAreBounded()
    {
        QFETCH(int, chunk);
        QFETCH(int, repeat);
        QFETCH(bool, declared);
        QFETCH(qint64, bound);
        const auto standIn =
            serving("{\"body\": \"" + QByteArray(chunk, 'y') + "\", \"repeat\": " + QByteArray::number(repeat) +
                    (declared ? "}" : R"(, "headers": {"Content-Length": null}})"));
        HttpOptions options = limits(10s, 20s);
        if (bound > 0)
            options.maxBodyBytes = bound;
        HttpClient client(options);
        const qint64 before = peakMemoryKb();
        if (qint64(chunk) * repeat <= bound) {
            QCOMPARE(send(client, xOf(*standIn)).body.size(), qint64(chunk) * repeat);
            return;
        }
        QCOMPARE(failure(client, xOf(*standIn)),
                 QString("The answer from 127.0.0.1 is larger than %1 bytes.").arg(bound > 0 ? bound : 8388608));
        const qint64 growthKb = peakMemoryKb() - before;
        qInfo() << "peak memory growth while refusing" << chunk * repeat << "bytes:" << growthKb << "kB";
        if (!underAddressSanitizer) // its quarantine keeps freed blocks resident
            QVERIFY2(growthKb < 40 * 1024, QByteArray::number(growthKb));
    }

    // Whatever goes wrong on the way, the caller gets a failure in words, never an answer that misleads.
    void failuresInWords_data()
    {
        QTest::addColumn<QByteArray>("script"); // the answer to a POST
        QTest::addColumn<int>("bodyBytes");
        QTest::addColumn<QString>("expected");
        const QString failed = "The request to 127.0.0.1 failed: ";
        const QString closed = failed + "the connection ended before the whole answer arrived.";
        QTest::newRow("closed while the body is sent")
            << QByteArray(R"({"early": true, "drop": true})") << (4 << 20) << closed;
        QTest::newRow("413 while the body is sent")
            << QByteArray(R"({"early": true, "status": 413})") << (4 << 20) << closed;
        QTest::newRow("closed instead of an answer") << QByteArray(R"({"drop": true})") << 10 << closed;
        QTest::newRow("body cut off") << QByteArray(R"({"body": "partial", "headers": {"Content-Length": "100"}})")
                                      << 10 << closed;
        // A corrupt gzip stream: asked for nothing but identity, the client neither inflates nor misreads it.
        QTest::newRow("compressed answer")
            << QByteArray(R"({"headers": {"Content-Encoding": "gzip"}, "bodyBase64": "H4sIAAAAAAAAA6tWyk0tLk5M"})")
            << 10 << "The answer from 127.0.0.1 came encoded as “gzip”, which was not asked for.";
    }
    void failuresInWords()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, bodyBytes);
        const auto standIn = serving(script, "POST /x");
        HttpClient client(limits());
        try {
            send(client, xOf(*standIn), "POST", QByteArray(bodyBytes, 'p'));
            QFAIL("the exchange did not fail");
        } catch (const PlatformError &error) {
            QTEST(error.description(), "expected");
        }
        QCOMPARE(standIn->requests().value(0).headers.value("accept-encoding"), "identity");
    }

    // The bearer token may neither leave encrypted transport nor follow a redirect off the gateway's origin.
    void tokenStaysWithTheGateway_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("otherHost");
        QTest::newRow("302 to another port") << 302 << "127.0.0.1";
        QTest::newRow("307 to another host") << 307 << "127.0.0.2";
    }
    void tokenStaysWithTheGateway()
    {
        QFETCH(int, status);
        QFETCH(QString, otherHost);
        GatewayStandIn elsewhere(GatewayScenario(QJsonObject{{"GET /x", QJsonArray{QJsonObject{{"body", "got it"}}}}}));
        elsewhere.listen(QHostAddress(otherHost));
        const auto standIn =
            serving(QJsonDocument(QJsonObject{{"status", status},
                                              {"headers", QJsonObject{{"Location", xOf(elsewhere).toString()}}}})
                        .toJson());
        HttpClient client(limits());
        try {
            send(client, xOf(*standIn), "GET", {}, {{"Authorization", "Bearer secret"}});
            QFAIL("the redirect was followed");
        } catch (const PlatformError &error) {
            QCOMPARE(error.description(),
                     "The gateway at 127.0.0.1 sent the request on to another address; it was not followed.");
        }
        QCOMPARE(standIn->requests().size(), 1);
        QVERIFY(elsewhere.requests().isEmpty());
    }

    void onlySecureOrLocalAddresses_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("HTTP off this computer") << "http://192.0.2.7:%1/x" << false;
        QTest::newRow("HTTP to a look-alike name") << "http://localhost.example:%1/x" << false;
        QTest::newRow("user info") << "http://127.0.0.1@192.0.2.7:%1/x" << false;
        QTest::newRow("another scheme") << "ftp://127.0.0.1:%1/x" << false;
        QTest::newRow("loopback by name") << "http://localhost:%1/x" << true;
    }
    void onlySecureOrLocalAddresses()
    {
        QFETCH(QString, url);
        QFETCH(bool, allowed);
        const auto standIn = serving(R"({"body": "hello"})");
        HttpClient client(limits(2s, 2s));
        const QUrl target(url.arg(standIn->baseUrl().port()));
        const QString text = failure(client, target);
        QCOMPARE(text.isEmpty(), allowed);
        if (!allowed)
            QVERIFY2(text.startsWith("Nothing was sent to “") &&
                         text.endsWith("”: only HTTPS, or plain HTTP on this computer, may carry the sign-in."),
                     qPrintable(text));
    }

    void tlsTrustsOnlyWhatItIsTold()
    {
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        GatewayStandIn standIn(GatewayScenario(QJsonObject{{"GET /x", QJsonArray{QJsonObject{{"body", "hello"}}}}}));
        standIn.useTls(certificate.certificate(), certificate.key());
        standIn.listen();

        HttpClient strict(limits());
        QVERIFY(failure(strict, xOf(standIn)).startsWith("The request to 127.0.0.1 failed: SSL handshake failed"));

        HttpOptions trusting = limits();
        trusting.sslConfiguration = certificate.trustingConfiguration();
        HttpClient client(trusting);
        QCOMPARE(send(client, xOf(standIn)).body, "hello");
        QCOMPARE(standIn.requests().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestHttpClient)
#include "TestHttpClient.moc"
