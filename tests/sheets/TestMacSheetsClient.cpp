#include "sheets/MacSheetsClient.h"

#include "sheets/SheetsClientError.h"

#include "GatewayStandIn.h"
#include "TaskWait.h"

#include <QCoroSignal>
#include <QJsonArray>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using wrenlow::support::waitForTask;
using namespace std::chrono_literals;

namespace {

using Query = QMap<QString, QString>;
using Waits = QList<qint64>;

const QString signIn = "notAuthenticated: Sign in to Korvane to use Sheets routing.";
const QString listReply =
    R"({"ok": true, "empId": "AB12", "employeeName": "Ana", "targetSpreadsheetId": "s1", "projects": ["P1"]})";
const QString duplicateReply = R"({"ok": true, "duplicate": true, "sheetName": "Mac", "rowNumber": "12",)"
                               R"( "employeeName": "Ana", "matches": [{"field": "Serial", "value": "C02X"}]})";
const QJsonObject payload{
    {"action", "upload"}, {"schema", "wrenlow.zel.sheet-row.v1"}, {"values", QJsonObject{{"b", 1}, {"a", "x+y"}}}};

// How an operation ended, as one comparable text: "returned", "<kind>: <description>" for the Sheets error,
// "platform: <description>" for a platform failure.
template <typename T> QString outcome(QCoro::Task<T> task)
{
    try {
        waitForTask(std::move(task));
        return "returned";
    } catch (const SheetsClientError &error) {
        static const char *const kinds[] = {"server", "notAuthenticated", "invalidResponse"};
        return QString(kinds[int(error.kind())]) + ": " + error.description();
    } catch (const PlatformError &error) {
        return "platform: " + error.description();
    }
}

// The same responses on every Sheets route.
QJsonObject everyRoute(const QJsonArray &responses)
{
    return {{"GET /sheets", responses}, {"POST /sheets", responses}};
}

QJsonObject status(int code)
{
    return {{"status", code}};
}

// An upload reply.
QJsonObject reply(bool busy, bool retryable, qint64 retryAfterMs, bool ok = true)
{
    // clang-format off
    return {{"json", QJsonObject{{"ok", ok}, {"duplicate", false}, {"sheetName", "Mac"}, {"rowNumber", "41"}, {"busy", busy},
        {"duplicateAction", "append"}, {"employeeName", "Ana"}, {"retryable", retryable}, {"retryAfterMs", retryAfterMs}}}};
    // clang-format on
}

const QJsonObject finalReply = reply(false, false, 0);

} // namespace

class TestMacSheetsClient : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GatewayStandIn> m_standIn;
    std::unique_ptr<MacSheetsClient> m_client;
    Waits m_waits;
    QList<std::pair<qint64, qint64>> m_jitterRanges;
    std::function<void()> m_duringWait;
    bool m_holdWaits = false;

    // A retry's wait: none, or held until the test says so.
    static QCoro::Task<> retryWait(TestMacSheetsClient *test, bool hold)
    {
        if (hold)
            co_await qCoro(test, &TestMacSheetsClient::retryWaitEnds);
    }

    // A client of a stand-in playing this scenario; its waits are recorded instead of slept (or held, with
    // m_holdWaits), with the lowest jitter so that the expected waits can be written down exactly.
    void serve(const QJsonObject &scenario)
    {
        m_waits.clear();
        m_jitterRanges.clear();
        m_duringWait = nullptr;
        m_holdWaits = false;
        m_standIn = std::make_unique<GatewayStandIn>(GatewayScenario(scenario));
        m_standIn->listen();
        const auto sleeper = [this](std::chrono::milliseconds wait) {
            m_waits.append(wait.count());
            if (m_duringWait)
                m_duringWait();
            return retryWait(this, m_holdWaits);
        };
        const auto random = [this](qint64 low, qint64 high) {
            m_jitterRanges.append({low, high});
            return low;
        };
        m_client = std::make_unique<MacSheetsClient>(m_standIn->baseUrl(), MacSheetsClient::defaultHttpOptions(),
                                                     sleeper, random);
        m_client->setBearerToken("T");
    }

signals:
    void retryWaitEnds();

private slots:
    // Without a token nothing is sent; with one, only the EMP ID is normalized and the rest goes unchanged, also what
    // a gateway could misread.
    void queriesOnTheWire()
    {
        serve({{"GET /sheets?action=listProjects", QJsonArray{QJsonObject{{"body", listReply}}}},
               {"GET /sheets?action=checkDuplicate", QJsonArray{QJsonObject{{"body", duplicateReply}}}}});
        m_client->setBearerToken(std::nullopt);
        QCOMPARE(outcome(m_client->listProjects("a")), signIn);
        QCOMPARE(outcome(m_client->upload(payload)), signIn);
        QVERIFY(!waitForTask(m_client->isReachable()));
        m_client->setBearerToken("T");
        QCOMPARE(outcome(m_client->listProjects("  ab12\n")), "returned");
        QCOMPARE(outcome(m_client->listProjects("x9", true)), "returned");
        QCOMPARE(outcome(m_client->checkDuplicate("\te+7 ", " P+Q & R ", "S=1%20", "#A+B", "F?x=y&z é")), "returned");
        QList<Query> queries;
        for (const LoggedRequest &request : m_standIn->requests()) {
            // Only the token: no body, so no Content-Type either.
            QCOMPARE(request.headers.value("authorization") + '|' + request.headers.value("content-type"), "Bearer T|");
            queries.append(request.query);
        }
        // clang-format off
        QCOMPARE(queries, (QList<Query>{
            {{"action", "listProjects"}, {"empId", "AB12"}, {"includeHidden", "false"}},
            {{"action", "listProjects"}, {"empId", "X9"}, {"includeHidden", "true"}},
            {{"action", "checkDuplicate"}, {"empId", "E+7"}, {"projectId", " P+Q & R "}, {"serialNumber", "S=1%20"}, {"assetTag", "#A+B"}, {"fsnCode", "F?x=y&z é"}}}));
        // clang-format on
        // An empty text is a token like any other.
        m_client->setBearerToken("");
        QCOMPARE(outcome(m_client->listProjects("a")), "returned");
    }

    // The status query only asks whether the gateway answers this token, so any 2xx text will do.
    void queryStatusesAndReplies_data()
    {
        QTest::addColumn<QJsonObject>("response");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("reachable");
        const QString unreadable = "platform: The data could not be read: illegal value.";
        // clang-format off
        // `ok` false in a reply that both query records can decode
        const auto refused = [](const char *error) { return QJsonObject{{"json", QJsonObject{{"ok", false}, {"empId", ""}, {"employeeName", ""}, {"targetSpreadsheetId", ""}, {"projects", QJsonArray{}}, {"duplicate", false}, {"sheetName", ""}, {"matches", QJsonArray{}}, {"error", error}}}}; };
        QTest::newRow("401") << QJsonObject{{"status", 401}, {"body", listReply}} << signIn << false;
        QTest::newRow("503 is not waited out on a query") << status(503) << "server: Sheets returned HTTP 503." << false;
        QTest::newRow("302 without a place") << QJsonObject{{"status", 302}, {"body", listReply}} << "server: Sheets returned HTTP 302." << false;
        QTest::newRow("body that is not JSON") << QJsonObject{{"body", "<html>Bad gateway</html>"}} << unreadable << true;
        QTest::newRow("unauthorized in any case, inside a text") << QJsonObject{{"body", "token UNauthorized"}} << unreadable << false;
        QTest::newRow("not UTF-8") << QJsonObject{{"bodyBase64", "b2v/"}} << unreadable << false;
        QTest::newRow("ok false with an error") << refused("EMP ID AB12 is not routed.") << "server: EMP ID AB12 is not routed." << true;
        QTest::newRow("ok false with a blank error is returned") << refused(" \n ") << "returned" << true;
        for (const char *body : {"null", "42", "\"text\"", ""})
            QTest::addRow("2xx body [%s]", body) << QJsonObject{{"body", body}} << "platform: The data could not be read: it is not a JSON object." << true;
        // clang-format on
    }
    void queryStatusesAndReplies()
    {
        QFETCH(QJsonObject, response);
        QFETCH(QString, expected);
        serve(everyRoute({response}));
        QCOMPARE(outcome(m_client->listProjects("a")), expected);
        QCOMPARE(outcome(m_client->checkDuplicate("a", "p", "s", "t", "f")), expected);
        QTEST(waitForTask(m_client->isReachable()), "reachable");
        QCOMPARE(m_standIn->requests().last().query, (Query{{"action", "status"}}));
        // A query never retries, and a 401 leaves the token in place.
        QCOMPARE(m_standIn->requests().size(), 3);
        QVERIFY(m_client->isConfigured());
    }

    void uploadAttemptsAndWaits_data()
    {
        QTest::addColumn<QJsonArray>("responses");
        QTest::addColumn<int>("requests");
        QTest::addColumn<Waits>("waits");
        QTest::addColumn<QString>("ending");
        // clang-format off
        QTest::newRow("always 503: six waits, then invalid response") << QJsonArray{status(503)} << 6 << Waits{800, 1500, 2900, 5700, 10100, 10100} << "invalidResponse: The Sheets service returned an invalid response.";
        QTest::newRow("307 is not followed: five waits, the HTTP text") << QJsonArray{QJsonObject{{"status", 307}, {"headers", QJsonObject{{"Location", "/elsewhere"}}}}} << 6 << Waits{800, 1500, 2900, 5700, 10100} << "server: Sheets returned HTTP 307.";
        QTest::newRow("always 500: five waits, the HTTP text") << QJsonArray{status(500)} << 6 << Waits{800, 1500, 2900, 5700, 10100} << "server: Sheets returned HTTP 500.";
        QTest::newRow("ok false, neither busy nor retryable, is returned at once") << QJsonArray{reply(false, false, 900, false)} << 1 << Waits{} << "returned";
        QTest::newRow("2xx without busy is a failed attempt") << QJsonArray{QJsonObject{{"json", QJsonObject{{"ok", true}}}}, finalReply} << 2 << Waits{800} << "returned";
        QTest::newRow("retryable without a hint uses the back-off") << QJsonArray{reply(false, true, 0), finalReply} << 2 << Waits{800} << "returned";
        QTest::newRow("huge hint is capped at five minutes") << QJsonArray{reply(true, false, 9000000000000000000), finalReply} << 2 << Waits{300100} << "returned";
        QTest::newRow("a transport error outlives a later 429") << QJsonArray{status(503), status(503), status(503), status(503), QJsonObject{{"drop", true}}, status(429)} << 6 << Waits{800, 1500, 2900, 5700, 10100, 10100} << "platform: The request to 127.0.0.1 failed: ";
        // clang-format on
    }
    void uploadAttemptsAndWaits()
    {
        QFETCH(QJsonArray, responses);
        QFETCH(int, requests);
        QFETCH(Waits, waits);
        QFETCH(QString, ending);
        serve(everyRoute(responses));
        // A token changed while the upload waits does not reach its later attempts.
        m_duringWait = [this] { m_client->setBearerToken("U"); };
        const QString outcomeText = outcome(m_client->upload(payload));
        QVERIFY2(outcomeText.startsWith(ending), qPrintable(outcomeText));
        QCOMPARE(m_waits, waits);
        QCOMPARE(m_jitterRanges, (QList<std::pair<qint64, qint64>>(waits.size(), {100, 450})));
        QCOMPARE(m_standIn->requests().size(), requests);
        const QString body = R"({"action":"upload","schema":"wrenlow.zel.sheet-row.v1","values":{"a":"x+y","b":1}})";
        for (const LoggedRequest &r : m_standIn->requests())
            QCOMPARE((QStringList{r.method, r.path, r.headers["authorization"], r.headers["content-type"], r.body}),
                     (QStringList{"POST", "/sheets", "Bearer T", "application/json", body}));
    }

    // An upload ends when a wait fails, and when the window closing mid-upload destroys the client while its request
    // is out or while it waits to retry.
    void interruptedUploads()
    {
        serve(everyRoute({status(503)}));
        m_duringWait = [] { throw PlatformError("The operation was cancelled."); };
        QCOMPARE(outcome(m_client->upload(payload)), "platform: The operation was cancelled.");
        QCOMPARE(m_standIn->requests().size(), 1);
        for (const QJsonObject &answer : {QJsonObject{{"hold", true}}, status(503)}) {
            serve(everyRoute({answer}));
            m_holdWaits = true;
            std::optional<QCoro::Task<SheetsUploadResult>> upload(m_client->upload(payload));
            QTRY_VERIFY(answer.contains("hold") ? m_standIn->heldCount() == 1 : !m_waits.isEmpty());
            m_client.reset();
            m_standIn->releaseHeld();
            emit retryWaitEnds(); // after the client: the upload ends there
            if (!answer.contains("hold"))
                QTRY_VERIFY(upload->isReady());
            upload.reset();
            QCOMPARE(m_standIn->requests().size(), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestMacSheetsClient)
#include "TestMacSheetsClient.moc"
