#include "sheets/MacSheetsClient.h"

#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"
#include "SheetsClientOutcome.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using namespace std::chrono_literals;

namespace {

using Query = QMap<QString, QString>;

const QString listReply =
    R"({"ok": true, "empId": "AB12", "employeeName": "Ana", "targetSpreadsheetId": "s1", "projects": ["P1"]})";
const QString duplicateReply = R"({"ok": true, "duplicate": true, "sheetName": "Mac", "rowNumber": "12",)"
                               R"( "employeeName": "Ana", "matches": [{"field": "Serial", "value": "C02X"}]})";

GatewayScenario answering(const QString &key, const QJsonObject &response)
{
    return GatewayScenario(QJsonObject{{key, QJsonArray{response}}});
}

GatewayScenario queryReplies()
{
    return GatewayScenario(
        QJsonObject{{"GET /sheets?action=listProjects", QJsonArray{QJsonObject{{"body", listReply}}}},
                    {"GET /sheets?action=checkDuplicate", QJsonArray{QJsonObject{{"body", duplicateReply}}}}});
}

GatewayScenario answeringAll(const QJsonObject &response)
{
    return GatewayScenario(QJsonObject{{"GET /sheets", QJsonArray{response}}, {"POST /sheets", QJsonArray{response}}});
}

// A reply with `ok` false that both query records can decode.
QJsonObject refusal(const std::optional<QString> &error)
{
    QJsonObject reply{{"ok", false},
                      {"empId", ""},
                      {"employeeName", ""},
                      {"targetSpreadsheetId", ""},
                      {"projects", QJsonArray{}},
                      {"duplicate", false},
                      {"sheetName", ""},
                      {"matches", QJsonArray{}}};
    if (error)
        reply.insert("error", *error);
    return {{"json", reply}};
}

HttpOptions shortLimits()
{
    HttpOptions options;
    options.requestTimeout = 5s;
    options.resourceTimeout = 5s;
    return options;
}

// The headers the client chose to send, without those the HTTP layer adds to every request.
QStringList chosenHeaders(const LoggedRequest &request)
{
    static const QStringList transport{"host", "connection", "accept-encoding", "accept-language", "user-agent"};
    QStringList names = request.headers.keys();
    names.removeIf([](const QString &name) { return transport.contains(name); });
    return names;
}

} // namespace

class TestMacSheetsClient : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GatewayStandIn> m_standIn;
    std::unique_ptr<MacSheetsClient> m_client;

    void serve(GatewayScenario scenario, const QString &token = "T")
    {
        m_standIn = std::make_unique<GatewayStandIn>(std::move(scenario));
        m_standIn->listen();
        m_client = std::make_unique<MacSheetsClient>(m_standIn->baseUrl(), shortLimits());
        m_client->setBearerToken(token);
    }

private slots:
    void queriesOnTheWire_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Query>("query");

        QTest::newRow("EMP ID trimmed and upper-cased")
            << "listProjects" << QStringList{"  ab12\n"}
            << Query{{"action", "listProjects"}, {"empId", "AB12"}, {"includeHidden", "false"}};
        QTest::newRow("hidden projects asked for")
            << "listProjects+hidden" << QStringList{"x9"}
            << Query{{"action", "listProjects"}, {"empId", "X9"}, {"includeHidden", "true"}};
        QTest::newRow("duplicate check sends its values unchanged")
            << "checkDuplicate" << QStringList{"\tem-7 ", " P 1 ", "C02X", "A-1", ""}
            << Query{{"action", "checkDuplicate"}, {"empId", "EM-7"},   {"projectId", " P 1 "},
                     {"serialNumber", "C02X"},     {"assetTag", "A-1"}, {"fsnCode", ""}};
        QTest::newRow("characters a gateway could misread arrive intact")
            << "checkDuplicate" << QStringList{"e+1", "P+Q & R", "S=1%20", "#A+B", "F?x=y&z"}
            << Query{{"action", "checkDuplicate"}, {"empId", "E+1"},     {"projectId", "P+Q & R"},
                     {"serialNumber", "S=1%20"},   {"assetTag", "#A+B"}, {"fsnCode", "F?x=y&z"}};
    }

    void queriesOnTheWire()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, arguments);
        QFETCH(Query, query);
        serve(queryReplies());
        if (operation == "checkDuplicate")
            QCOMPARE(
                outcome(m_client->checkDuplicate(arguments[0], arguments[1], arguments[2], arguments[3], arguments[4])),
                "returned");
        else
            QCOMPARE(outcome(m_client->listProjects(arguments[0], operation.endsWith("+hidden"))), "returned");

        QCOMPARE(m_standIn->requests().size(), 1);
        const LoggedRequest &request = m_standIn->requests().first();
        QCOMPARE(request.method, "GET");
        QCOMPARE(request.path, "/sheets");
        QCOMPARE(request.query, query);
        QCOMPARE(chosenHeaders(request), QStringList{"authorization"});
        QCOMPARE(request.headers.value("authorization"), "Bearer T");
        QCOMPARE(request.body, QByteArray());
    }

    void repliesAreDecoded()
    {
        serve(queryReplies());
        const SheetsProjectList list = waitForTask(m_client->listProjects("ab12"));
        QCOMPARE(list.projects, QStringList{"P1"});
        QCOMPARE(list.employeeName, "Ana");
        const SheetsDuplicateResult duplicate = waitForTask(m_client->checkDuplicate("ab12", "P1", "C02X", "", ""));
        QCOMPARE(duplicate.duplicate, true);
        QCOMPARE(duplicate.parsedRowNumber(), 12);
        QCOMPARE(duplicate.matchDescriptions(), QStringList{"Serial: C02X"});
    }

    void nothingIsSentWithoutAToken()
    {
        serve(answeringAll({{"body", listReply}}));
        m_client->setBearerToken(std::nullopt);
        QVERIFY(!m_client->isConfigured());
        const QString refused = "notAuthenticated: Sign in to Korvane to use Sheets routing.";
        QCOMPARE(outcome(m_client->listProjects("a")), refused);
        QCOMPARE(outcome(m_client->checkDuplicate("a", "p", "s", "t", "f")), refused);
        QCOMPARE(outcome(m_client->upload({{"action", "upload"}})), refused);
        QCOMPARE(waitForTask(m_client->isReachable()), false);
        QVERIFY(m_standIn->requests().isEmpty());

        // An empty text is a token like any other.
        m_client->setBearerToken("");
        QVERIFY(m_client->isConfigured());
        QCOMPARE(outcome(m_client->listProjects("a")), "returned");
        QCOMPARE(m_standIn->requests().size(), 1);
    }

    void queryStatusesAndReplies_data()
    {
        QTest::addColumn<QJsonObject>("response");
        QTest::addColumn<QString>("listOutcome");
        QTest::addColumn<QString>("duplicateOutcome");

        QTest::newRow("401") << QJsonObject{{"status", 401}, {"body", listReply}}
                             << "notAuthenticated: Sign in to Korvane to use Sheets routing."
                             << "notAuthenticated: Sign in to Korvane to use Sheets routing.";
        QTest::newRow("404") << QJsonObject{{"status", 404}} << "server: Sheets returned HTTP 404."
                             << "server: Sheets returned HTTP 404.";
        QTest::newRow("500 with a usable body")
            << QJsonObject{{"status", 500}, {"body", listReply}} << "server: Sheets returned HTTP 500."
            << "server: Sheets returned HTTP 500.";
        QTest::newRow("503 is not waited out on a query")
            << QJsonObject{{"status", 503}} << "server: Sheets returned HTTP 503."
            << "server: Sheets returned HTTP 503.";
        QTest::newRow("302 not followed elsewhere")
            << QJsonObject{{"status", 302}} << "server: Sheets returned HTTP 302."
            << "server: Sheets returned HTTP 302.";
        QTest::newRow("204 with an empty body")
            << QJsonObject{{"status", 204}} << "platform: The data could not be read: illegal value."
            << "platform: The data could not be read: illegal value.";
        QTest::newRow("body that is not JSON") << QJsonObject{{"body", "<html>Bad gateway</html>"}}
                                               << "platform: The data could not be read: illegal value."
                                               << "platform: The data could not be read: illegal value.";
        QTest::newRow("JSON of the wrong shape") << QJsonObject{{"json", QJsonObject{{"ok", true}}}}
                                                 << "platform: The data could not be read: “empId” is missing."
                                                 << "platform: The data could not be read: “duplicate” is missing.";
        QTest::newRow("ok false with an error")
            << refusal("EMP ID AB12 is not routed.") << "server: EMP ID AB12 is not routed."
            << "server: EMP ID AB12 is not routed.";
        QTest::newRow("ok false without an error is returned") << refusal(std::nullopt) << "returned"
                                                               << "returned";
    }

    void queryStatusesAndReplies()
    {
        QFETCH(QJsonObject, response);
        QFETCH(QString, listOutcome);
        QFETCH(QString, duplicateOutcome);
        serve(answeringAll(response));
        QCOMPARE(outcome(m_client->listProjects("a")), listOutcome);
        QCOMPARE(outcome(m_client->checkDuplicate("a", "p", "s", "t", "f")), duplicateOutcome);
        // A query never retries, and a 401 leaves the token in place.
        QCOMPARE(m_standIn->requests().size(), 2);
        QVERIFY(m_client->isConfigured());
    }

    void reachability_data()
    {
        QTest::addColumn<QJsonObject>("response");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("plain answer") << QJsonObject{{"body", "Sheets gateway ready"}} << true;
        QTest::newRow("empty answer") << QJsonObject{{"status", 204}} << true;
        QTest::newRow("unauthorized in capitals") << QJsonObject{{"body", "UNAUTHORIZED"}} << false;
        QTest::newRow("Unauthorized inside a text") << QJsonObject{{"body", "token Unauthorized here"}} << false;
        QTest::newRow("not UTF-8") << QJsonObject{{"bodyBase64", "b2v/"}} << false;
        QTest::newRow("401") << QJsonObject{{"status", 401}} << false;
        QTest::newRow("500") << QJsonObject{{"status", 500}, {"body", "fine"}} << false;
        QTest::newRow("connection reset") << QJsonObject{{"drop", true}} << false;
    }

    void reachability()
    {
        QFETCH(QJsonObject, response);
        QFETCH(bool, reachable);
        serve(answering("GET /sheets?action=status", response));
        QCOMPARE(waitForTask(m_client->isReachable()), reachable);
        // Qt sends a GET once more when the connection breaks before any answer.
        QVERIFY(!m_standIn->requests().isEmpty());
        QCOMPARE(m_standIn->requests().first().query, (Query{{"action", "status"}}));
    }

    void hostileReplies_data()
    {
        QTest::addColumn<QJsonObject>("response");
        QTest::addColumn<QString>("expected");
        QTest::newRow("truncated body") << QJsonObject{{"body", listReply.left(30)},
                                                       {"headers", QJsonObject{{"Content-Length", "400"}}}}
                                        << "platform: The request to 127.0.0.1 failed: ";
        QTest::newRow("reset connection")
            << QJsonObject{{"drop", true}} << "platform: The request to 127.0.0.1 failed: ";
        QTest::newRow("wrong types")
            << QJsonObject{{"body", R"({"ok": "yes", "empId": 1, "employeeName": [], "projects": {}})"}}
            << "platform: The data could not be read: “ok” is not true or false.";
        QTest::newRow("50 MB body") << QJsonObject{{"body", QString(1000, 'x')}, {"repeat", 50000}}
                                    << "platform: The answer from 127.0.0.1 is larger than 8388608 bytes.";
        QTest::newRow("deeply nested JSON")
            << QJsonObject{{"body", QString(100000, '[')}} << "platform: The data could not be read: ";
    }

    void hostileReplies()
    {
        QFETCH(QJsonObject, response);
        QFETCH(QString, expected);
        serve(answering("GET /sheets", response));
        const QString ended = outcome(m_client->listProjects("a"));
        QVERIFY2(ended.startsWith(expected), qPrintable(ended));
    }

    void silentGatewayTimesOut()
    {
        m_standIn = std::make_unique<GatewayStandIn>(answeringAll({{"hold", true}}));
        m_standIn->listen();
        HttpOptions scaled;
        scaled.requestTimeout = 200ms;
        scaled.resourceTimeout = 300ms;
        MacSheetsClient client(m_standIn->baseUrl(), scaled);
        client.setBearerToken("T");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(outcome(client.listProjects("a")), "platform: The request to 127.0.0.1 timed out.");
        QVERIFY2(clock.elapsed() < 2000, QByteArray::number(clock.elapsed()));
    }

    void httpsTrustsOnlyTheGivenAuthority()
    {
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        m_standIn = std::make_unique<GatewayStandIn>(answeringAll({{"body", listReply}}));
        m_standIn->useTls(certificate.certificate(), certificate.key());
        m_standIn->listen();

        MacSheetsClient strict(m_standIn->baseUrl(), shortLimits());
        strict.setBearerToken("T");
        QVERIFY(outcome(strict.listProjects("a")).startsWith("platform: The request to 127.0.0.1 failed: SSL"));
        QVERIFY(m_standIn->requests().isEmpty());

        HttpOptions trusting = shortLimits();
        trusting.sslConfiguration = certificate.trustingConfiguration();
        MacSheetsClient client(m_standIn->baseUrl(), trusting);
        client.setBearerToken("T");
        QCOMPARE(outcome(client.listProjects("a")), "returned");
        QCOMPARE(m_standIn->requests().first().headers.value("authorization"), "Bearer T");
    }
};

QTEST_GUILESS_MAIN(TestMacSheetsClient)
#include "TestMacSheetsClient.moc"
