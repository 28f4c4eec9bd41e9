#include "common/GatewayUrl.h"
#include "common/HttpClient.h"
#include "common/WrenlowError.h"

#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"
#include "TaskWait.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

#include <sys/resource.h>

using namespace wrenlow;
using namespace wrenlow::test;
using wrenlow::support::waitForTask;

namespace {

// Changes to one exchange: requestMs, resourceMs, bound (body bytes), bodyBytes (sent), authorization, url
// (PORT: the stand-in's port), atLeastMs.
using Tweaks = QVariantMap;

// A stand-in that answers every "POST /x" with the one scripted response, over TLS with this certificate if given.
std::unique_ptr<GatewayStandIn> serving(const QByteArray &response, const SelfSignedCertificate *tls = nullptr)
{
    auto standIn = std::make_unique<GatewayStandIn>(
        GatewayScenario(QJsonDocument::fromJson("{\"POST /x\": [" + response + "]}").object()));
    if (tls)
        standIn->useTls(tls->certificate(), tls->key());
    standIn->listen();
    return standIn;
}

HttpResponse post(HttpClient &client, const QUrl &url, const QByteArray &body = "{}", const HttpHeaders &headers = {})
{
    return waitForTask(client.send(HttpRequest{"POST", url, headers, body}));
}

// The error text of a failed exchange; empty when it did not fail.
QString failure(HttpClient &client, const QUrl &url, const QByteArray &body = "{}", const HttpHeaders &headers = {})
{
    try {
        post(client, url, body, headers);
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
    }

    // Qt flags 4xx and 5xx as errors while the answer is intact, and would follow a 3xx; the caller still gets
    // status, headers and body, and nothing goes anywhere else (OTHER: the port of a stand-in on 127.0.0.2).
    void answersComeWhole_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("header"); // "Name: value" expected in the answer
        // clang-format off
        QTest::newRow("401") << QByteArray(R"({"status": 401, "body": "token expired", "headers": {"Retry-After": "2"}})") << 401 << QByteArray("RETRY-after: 2");
        QTest::newRow("302 without a place") << QByteArray(R"({"status": 302, "body": "token expired"})") << 302 << QByteArray();
        QTest::newRow("308 to this origin") << QByteArray(R"({"status": 308, "body": "token expired", "headers": {"Location": "/y"}})") << 308 << QByteArray("location: /y");
        QTest::newRow("302 to another port") << QByteArray("{\"status\": 302, \"body\": \"token expired\", \"headers\": {\"Location\": \"http://127.0.0.1:OTHER/x\"}}") << 302 << QByteArray();
        QTest::newRow("307 to another host") << QByteArray("{\"status\": 307, \"body\": \"token expired\", \"headers\": {\"Location\": \"http://127.0.0.2:OTHER/x\"}}") << 307 << QByteArray();
        // clang-format on
    }
    void answersComeWhole()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, header);
        GatewayStandIn elsewhere;
        elsewhere.listen(QHostAddress("127.0.0.2"));
        const auto standIn = serving(script.replace("OTHER", QByteArray::number(elsewhere.baseUrl().port())));
        HttpClient client({});
        const HttpResponse response = post(client, xOf(*standIn), "{\"a\":1}", {{"Authorization", "Bearer secret"}});
        QTEST(response.status, "status");
        QCOMPARE(response.body, "token expired");
        if (!header.isEmpty())
            QCOMPARE(response.header(header.left(header.indexOf(':'))), header.mid(header.indexOf(':') + 2));
        QCOMPARE(standIn->requests().size(), 1);
        QCOMPARE(standIn->requests().last().body, "{\"a\":1}");
        QCOMPARE(standIn->requests().last().headers.value("content-length"), "7");
        QVERIFY(elsewhere.requests().isEmpty());
    }

    // Whatever goes wrong on the way, the caller gets a failure in words, never an answer that misleads, and a
    // POST is never sent twice (Qt would repeat one by itself when the connection breaks before the answer).
    void failuresInWords_data()
    {
        QTest::addColumn<QByteArray>("script"); // the answer
        QTest::addColumn<Tweaks>("tweaks");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const QString closed = "The request to 127.0.0.1 failed: the connection ended before the whole answer arrived.";
        const QString timedOut = "The request to 127.0.0.1 timed out.";
        const QString tooLarge = "The answer from 127.0.0.1 is larger than %1 bytes.";
        const QString badHeader = "The request to 127.0.0.1 has a header value that cannot be sent.";
        const QString insecure = "Nothing was sent to “%1”: only HTTPS, or plain HTTP on this computer, may carry the sign-in.";
        const QByteArray ok = R"({"body": "hello"})";
        QTest::newRow("closed while the body is sent") << QByteArray(R"({"early": true, "drop": true})") << Tweaks{{"bodyBytes", 4 << 20}} << closed;
        QTest::newRow("413 while the body is sent") << QByteArray(R"({"early": true, "status": 413})") << Tweaks{{"bodyBytes", 4 << 20}} << closed;
        QTest::newRow("closed instead of an answer") << QByteArray(R"({"drop": true})") << Tweaks{} << closed;
        QTest::newRow("body cut off") << QByteArray(R"({"body": "partial", "headers": {"Content-Length": "100"}})") << Tweaks{} << closed;
        // A corrupt gzip stream: asked for nothing but identity, the client neither inflates nor misreads it.
        QTest::newRow("compressed answer") << QByteArray(R"({"headers": {"Content-Encoding": "gzip"}, "bodyBase64": "H4sIAAAAAAAAA6tWyk0tLk5M"})") << Tweaks{} << "The answer from 127.0.0.1 came encoded as “gzip”, which was not asked for.";
        QTest::newRow("never answers: silence limit") << QByteArray(R"({"hold": true})") << Tweaks{{"requestMs", 300}, {"resourceMs", 0}} << timedOut;
        QTest::newRow("never answers, nothing sent: silence limit") << QByteArray(R"({"hold": true})") << Tweaks{{"requestMs", 300}, {"resourceMs", 0}, {"bodyBytes", 0}} << timedOut;
        // Each byte resets the silence limit, so only the whole limit can end a trickle.
        QTest::newRow("trickle outlasts the whole limit") << "{\"trickleMs\": 40, \"body\": \"" + QByteArray(200, 'x') + "\"}" << Tweaks{{"requestMs", 300}, {"resourceMs", 800}, {"atLeastMs", 750}} << timedOut;
        QTest::newRow("body of exactly the bound") << QByteArray(R"({"body": "y", "repeat": 1000})") << Tweaks{{"bound", 1000}} << "";
        QTest::newRow("one byte over the bound") << QByteArray(R"({"body": "y", "repeat": 1001})") << Tweaks{{"bound", 1000}} << tooLarge.arg(1000);
        // Refused as soon as it passes the default bound, without being held in memory on the way.
        QTest::newRow("50 MB until the connection closes") << "{\"headers\": {\"Content-Length\": null}, \"repeat\": 50000, \"body\": \"" + QByteArray(1000, 'y') + "\"}" << Tweaks{} << tooLarge.arg(8388608);
        // The bearer token may not leave encrypted transport.
        QTest::newRow("HTTP to a look-alike name") << ok << Tweaks{{"url", "http://localhost.example:PORT/x"}} << insecure.arg("http://localhost.example:PORT/x");
        QTest::newRow("user info") << ok << Tweaks{{"url", "http://127.0.0.1@192.0.2.7:PORT/x"}} << insecure.arg("http://192.0.2.7:PORT/x");
        QTest::newRow("another scheme") << ok << Tweaks{{"url", "ftp://127.0.0.1:PORT/x"}} << insecure.arg("ftp://127.0.0.1:PORT/x");
        QTest::newRow("loopback by name") << ok << Tweaks{{"url", "http://localhost:PORT/x"}} << "";
        // Qt writes header values as they are: a line break in a hostile token would add headers of its own.
        QTest::newRow("line feed in a header") << ok << Tweaks{{"authorization", QByteArray("Bearer A\nX-Evil: 1")}} << badHeader;
        QTest::newRow("NUL in a header") << ok << Tweaks{{"authorization", QByteArray("Bearer A\0X", 10)}} << badHeader;
        // clang-format on
    }
    void failuresInWords()
    {
        QFETCH(QByteArray, script);
        QFETCH(Tweaks, tweaks);
        QFETCH(QString, expected);
        const auto standIn = serving(script);
        const QString port = QString::number(standIn->baseUrl().port());
        const auto ms = [&tweaks](const char *name, int fallback) { return tweaks.value(name, fallback).toInt(); };
        HttpClient client({.requestTimeout = std::chrono::milliseconds(ms("requestMs", 10000)),
                           .resourceTimeout = std::chrono::milliseconds(ms("resourceMs", 20000)),
                           .maxBodyBytes = tweaks.value("bound", HttpOptions().maxBodyBytes).toLongLong(),
                           .sslConfiguration = {}});
        const QUrl url = tweaks.contains("url") ? QUrl(tweaks["url"].toString().replace("PORT", port)) : xOf(*standIn);
        const qint64 memoryBefore = peakMemoryKb();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(failure(client, url, QByteArray(ms("bodyBytes", 2), 'p'),
                         {{"Authorization", tweaks.value("authorization", "Bearer secret").toByteArray()}}),
                 expected.replace("PORT", port));
        QVERIFY2(clock.elapsed() >= ms("atLeastMs", 0), QByteArray::number(clock.elapsed()));
        const qint64 growthKb = peakMemoryKb() - memoryBefore;
        if (!underAddressSanitizer) // its quarantine keeps freed blocks resident
            QVERIFY2(growthKb < 40 * 1024, QByteArray::number(growthKb));
        QVERIFY(standIn->requests().size() <= 1);
        for (const LoggedRequest &request : standIn->requests())
            QCOMPARE(request.headers.value("accept-encoding"), "identity");
    }

    void tlsTrustsOnlyWhatItIsTold()
    {
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        const auto standIn = serving(R"({"body": "hello"})", &certificate);
        HttpClient strict({});
        QVERIFY(failure(strict, xOf(*standIn)).startsWith("The request to 127.0.0.1 failed: SSL handshake failed"));
        HttpClient client({.sslConfiguration = certificate.trustingConfiguration()});
        QCOMPARE(post(client, xOf(*standIn)).body, "hello");
        QCOMPARE(standIn->requests().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestHttpClient)
#include "TestHttpClient.moc"
