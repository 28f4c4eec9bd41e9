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
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

using namespace wrenlow;
using namespace wrenlow::test;
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
        QCOMPARE(response.header("X-Missing"), QByteArray());
    }

    void brokenExchangesThrowReadableTexts_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("reset connection") << QByteArray(R"({"drop": true})");
        QTest::newRow("truncated body") << QByteArray(R"({"body": "partial", "headers": {"Content-Length": "100"}})");
    }
    void brokenExchangesThrowReadableTexts()
    {
        QFETCH(QByteArray, script);
        const auto standIn = serving(script);
        HttpClient client(limits());
        const QString text = failure(client, xOf(*standIn));
        QVERIFY2(QRegularExpression("^The request to 127.0.0.1 failed: .+").match(text).hasMatch(), qPrintable(text));
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
        QTest::newRow("carriage return") << QByteArray("Bearer A\rX-Evil: 1");
        QTest::newRow("NUL") << QByteArray("Bearer A\0X", 10);
    }
    void headerValuesCannotAddHeaders()
    {
        QFETCH(QByteArray, value);
        GatewayStandIn standIn;
        standIn.listen();
        HttpClient client(limits());
        QVERIFY_THROWS_EXCEPTION(PlatformError, send(client, xOf(standIn), "GET", {}, {{"Authorization", value}}));
        QTest::qWait(50);
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
        QTest::newRow("never answers: whole limit") << QByteArray(R"({"hold": true})") << 0 << 400 << 350 << 1500;
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
        QTest::newRow("50 MB, declared") << 1000 << 50000 << true << qint64(0);
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
