#include "sheets/MacSheetsClient.h"

#include "GatewayStandIn.h"
#include "SheetsClientOutcome.h"

#include <QJsonArray>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using namespace std::chrono_literals;

namespace {

QJsonObject reply(bool busy, bool retryable, qint64 retryAfterMs, bool ok = true)
{
    return {{"json", QJsonObject{{"ok", ok},
                                 {"duplicate", false},
                                 {"sheetName", "Mac"},
                                 {"rowNumber", "41"},
                                 {"duplicateAction", "append"},
                                 {"employeeName", "Ana"},
                                 {"busy", busy},
                                 {"retryable", retryable},
                                 {"retryAfterMs", retryAfterMs}}}};
}

const QJsonObject finalReply = reply(false, false, 0);

QJsonObject status(int code)
{
    return {{"status", code}};
}

QCoro::Task<> noWait()
{
    co_return;
}

const QJsonObject payload{
    {"action", "upload"}, {"schema", "wrenlow.zel.sheet-row.v1"}, {"values", QJsonObject{{"b", 1}, {"a", "x+y"}}}};

} // namespace

class TestSheetsUpload : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GatewayStandIn> m_standIn;
    std::unique_ptr<MacSheetsClient> m_client;
    QList<qint64> m_waits;
    QList<std::pair<qint64, qint64>> m_randomRanges;
    std::function<void()> m_duringWait;

    void serve(const QJsonArray &responses, std::chrono::milliseconds limit = 5s)
    {
        m_waits.clear();
        m_randomRanges.clear();
        m_duringWait = nullptr;
        m_standIn = std::make_unique<GatewayStandIn>(GatewayScenario(QJsonObject{{"POST /sheets", responses}}));
        m_standIn->listen();
        HttpOptions options;
        options.requestTimeout = limit;
        options.resourceTimeout = limit;
        const auto sleeper = [this](std::chrono::milliseconds wait) {
            m_waits.append(wait.count());
            if (m_duringWait)
                m_duringWait();
            return noWait();
        };
        // The lowest jitter, so that the expected waits can be written down exactly.
        const auto random = [this](qint64 low, qint64 high) {
            m_randomRanges.append({low, high});
            return low;
        };
        m_client = std::make_unique<MacSheetsClient>(m_standIn->baseUrl(), options, sleeper, random);
        m_client->setBearerToken("T");
    }

private slots:
    void attemptsAndWaits_data()
    {
        QTest::addColumn<QJsonArray>("responses");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QList<qint64>>("waits");
        QTest::addColumn<QString>("ending");

        const QString invalid = "invalidResponse: The Sheets service returned an invalid response.";
        QTest::newRow("always 503: six waits, then invalid response")
            << QJsonArray{status(503)} << 6 << QList<qint64>{800, 1500, 2900, 5700, 10100, 10100} << invalid;
        QTest::newRow("always 429 likewise")
            << QJsonArray{status(429)} << 6 << QList<qint64>{800, 1500, 2900, 5700, 10100, 10100} << invalid;
        QTest::newRow("always 500: five waits, the HTTP text")
            << QJsonArray{status(500)} << 6 << QList<qint64>{800, 1500, 2900, 5700, 10100}
            << "server: Sheets returned HTTP 500.";
        QTest::newRow("always 401: retried like any error")
            << QJsonArray{status(401)} << 6 << QList<qint64>{800, 1500, 2900, 5700, 10100}
            << "notAuthenticated: Sign in to Korvane to use Sheets routing.";
        QTest::newRow("busy with a hint, then final")
            << QJsonArray{reply(true, false, 2500), finalReply} << 2 << QList<qint64>{2600} << "returned";
        QTest::newRow("ok false, neither busy nor retryable, is returned at once")
            << QJsonArray{reply(false, false, 900, false)} << 1 << QList<qint64>{} << "returned";
        QTest::newRow("2xx without busy is a failed attempt")
            << QJsonArray{QJsonObject{{"json", QJsonObject{{"ok", true}}}}, finalReply} << 2 << QList<qint64>{800}
            << "returned";
        QTest::newRow("always undecodable: the decoder's text")
            << QJsonArray{QJsonObject{{"body", "<html>proxy error</html>"}}} << 6
            << QList<qint64>{800, 1500, 2900, 5700, 10100} << "platform: The data could not be read: illegal value.";
        QTest::newRow("an error outlives later busy replies")
            << QJsonArray{status(500), reply(true, false, 1000)} << 6
            << QList<qint64>{800, 1100, 1100, 1100, 1100, 1100} << "server: Sheets returned HTTP 500.";
        QTest::newRow("always busy: invalid response")
            << QJsonArray{reply(true, true, 1000)} << 6 << QList<qint64>{1100, 1100, 1100, 1100, 1100, 1100} << invalid;
        QTest::newRow("retryable without a hint uses the back-off")
            << QJsonArray{reply(false, true, 0), finalReply} << 2 << QList<qint64>{800} << "returned";
        QTest::newRow("negative hint uses the back-off")
            << QJsonArray{status(503), reply(true, false, -5000), finalReply} << 3 << QList<qint64>{800, 1500}
            << "returned";
        QTest::newRow("hint above ten seconds is followed")
            << QJsonArray{reply(true, false, 45000), finalReply} << 2 << QList<qint64>{45100} << "returned";
        QTest::newRow("huge hint is capped at five minutes")
            << QJsonArray{reply(true, false, 9000000000000000000), finalReply} << 2 << QList<qint64>{300100}
            << "returned";
        QTest::newRow("404 once, then final")
            << QJsonArray{status(404), finalReply} << 2 << QList<qint64>{800} << "returned";
    }

    void attemptsAndWaits()
    {
        QFETCH(QJsonArray, responses);
        QFETCH(int, requests);
        QFETCH(QList<qint64>, waits);
        QFETCH(QString, ending);
        serve(responses);
        QCOMPARE(outcome(m_client->upload(payload)), ending);
        QCOMPARE(m_standIn->requests().size(), requests);
        QCOMPARE(m_waits, waits);
        QCOMPARE(m_randomRanges, (QList<std::pair<qint64, qint64>>(waits.size(), {100, 450})));
    }

    void transportErrorOutlivesALater429()
    {
        serve({status(503), status(503), status(503), status(503), QJsonObject{{"drop", true}}, status(429)});
        const QString ending = outcome(m_client->upload(payload));
        QVERIFY2(ending.startsWith("platform: The request to 127.0.0.1 failed: "), qPrintable(ending));
        QCOMPARE(m_waits, (QList<qint64>{800, 1500, 2900, 5700, 10100, 10100}));
        QCOMPARE(m_standIn->requests().size(), 6);
    }

    void everyAttemptSendsTheSameRequest()
    {
        serve({status(503), status(503), finalReply});
        // A token change during the call only matters for later calls.
        m_duringWait = [this] { m_client->setBearerToken("U"); };
        const SheetsUploadResult result = waitForTask(m_client->upload(payload));
        QCOMPARE(result.sheetName, "Mac");
        QCOMPARE(result.parsedRowNumber(), 41);

        QCOMPARE(m_standIn->requests().size(), 3);
        for (const LoggedRequest &request : m_standIn->requests()) {
            QCOMPARE(request.method, "POST");
            QCOMPARE(request.path, "/sheets");
            QVERIFY(request.query.isEmpty());
            QCOMPARE(request.headers.value("authorization"), "Bearer T");
            QCOMPARE(request.headers.value("content-type"), "application/json");
            QCOMPARE(request.headers.value("content-length"), "82");
            QCOMPARE(request.body,
                     R"({"action":"upload","schema":"wrenlow.zel.sheet-row.v1","values":{"a":"x+y","b":1}})");
        }
        serve({finalReply});
        m_client->setBearerToken("U");
        waitForTask(m_client->upload(payload));
        QCOMPARE(m_standIn->requests().first().headers.value("authorization"), "Bearer U");
    }

    void noTokenSendsNothing()
    {
        serve({finalReply});
        m_client->setBearerToken(std::nullopt);
        QCOMPARE(outcome(m_client->upload(payload)), "notAuthenticated: Sign in to Korvane to use Sheets routing.");
        QVERIFY(m_standIn->requests().isEmpty());
        QVERIFY(m_waits.isEmpty());
    }

    void aFailingWaitEndsTheUpload()
    {
        serve({status(503)});
        const auto cancelled = [this](std::chrono::milliseconds wait) -> QCoro::Task<> {
            m_waits.append(wait.count());
            throw PlatformError("The operation was cancelled.");
        };
        MacSheetsClient client(m_standIn->baseUrl(), MacSheetsClient::defaultHttpOptions(), cancelled,
                               [](qint64 low, qint64) { return low; });
        client.setBearerToken("T");
        QCOMPARE(outcome(client.upload(payload)), "platform: The operation was cancelled.");
        QCOMPARE(m_standIn->requests().size(), 1);
        // The failed wait of the 503 is recorded like an error, and the wait that follows it fails as well.
        QCOMPARE(m_waits, (QList<qint64>{800, 800}));
    }

    void silentGatewayEndsEachAttempt()
    {
        serve({QJsonObject{{"hold", true}}}, 150ms);
        QCOMPARE(outcome(m_client->upload(payload)), "platform: The request to 127.0.0.1 timed out.");
        QCOMPARE(m_standIn->requests().size(), 6);
        QCOMPARE(m_waits.size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestSheetsUpload)
#include "TestSheetsUpload.moc"
