#include "BrokerTestSupport.h"

#include <QElapsedTimer>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using namespace std::chrono_literals;

namespace {

// The sign-in route answers every attempt with one reply.
QByteArray loginScenario(const QByteArray &reply)
{
    return R"({"POST /api/v1/auth/login": [)" + reply + "]}";
}

} // namespace

class TestMacKorvaneApiClient : public QObject
{
    Q_OBJECT

private slots:
    void everyRequestCarriesItsOwnHeaders()
    {
        Broker broker(scenario(R"({
            "GET /health": [{"json": {"ok": true}}],
            "POST /api/v1/auth/login": [)" +
                               loginReply("tok-1") + "," + loginReply("tok-2") + R"(],
            "GET /api/v1/units/creation-options": [{"json": {"lots": [], "unit_categories": []}}],
            "POST /api/v1/units/resolve": [{"json": {"status": "matched"}}],
            "GET /api/v1/auth/me": [{"json": {"user_id": 17, "username": "tech1"}}],
            "POST /api/v1/units/action": [{"json": {}}],
            "POST /api/v1/auth/logout": [{"status": 204}]
        })"));
        MacKorvaneApiClient &client = broker.client;
        QVERIFY(waitForTask(client.isReachable()));
        waitForTask(client.login(" tech1\n", " pass word ", false));
        QCOMPARE(client.brokerToken(), "tok-1");
        waitForTask(client.creationOptions());
        const QJsonObject body{{"lot_id", 3}, {"serial", "C02X"}};
        QCOMPARE(waitForTask(client.resolve(body)), (QJsonObject{{"status", "matched"}}));
        QCOMPARE(waitForTask(client.currentUser()).username, "tech1");
        waitForTask(client.applyUnitAction(QJsonObject{}));
        waitForTask(client.login("tech1", "again", false)); // signed in, yet no bearer token on the sign-in
        QCOMPARE(client.brokerToken(), "tok-2");
        waitForTask(client.logout());
        QVERIFY(!client.isSignedIn());
        QCOMPARE(client.brokerToken(), std::nullopt);

        // method, path, Accept, Authorization, Content-Type, body ("-" for an absent header)
        const QList<QStringList> expected{
            {"GET", "/health", "-", "-", "-", ""},
            {"POST", "/api/v1/auth/login", "application/json", "-", "application/json",
             R"({"identifier":"tech1","password":" pass word "})"},
            {"GET", "/api/v1/units/creation-options", "application/json", "Bearer tok-1", "-", ""},
            {"POST", "/api/v1/units/resolve", "application/json", "Bearer tok-1", "application/json",
             R"({"lot_id":3,"serial":"C02X"})"},
            {"GET", "/api/v1/auth/me", "application/json", "Bearer tok-1", "-", ""},
            {"POST", "/api/v1/units/action", "application/json", "Bearer tok-1", "application/json", "{}"},
            {"POST", "/api/v1/auth/login", "application/json", "-", "application/json",
             R"({"identifier":"tech1","password":"again"})"},
            {"POST", "/api/v1/auth/logout", "application/json", "Bearer tok-2", "-", ""}};
        const QList<LoggedRequest> &log = broker.standIn.requests();
        QCOMPARE(log.size(), expected.size());
        for (qsizetype i = 0; i < log.size(); ++i) {
            const LoggedRequest &seen = log.at(i);
            const QStringList actual{seen.method,
                                     seen.path,
                                     seen.headers.value("accept", "-"),
                                     seen.headers.value("authorization", "-"),
                                     seen.headers.value("content-type", "-"),
                                     QString::fromUtf8(seen.body)};
            QCOMPARE(actual, expected.at(i));
        }
    }

    void healthIsOnlyAnExactYes_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("200 ok true") << QByteArray(R"({"json": {"ok": true, "version": "1"}})") << true;
        QTest::newRow("ok false") << QByteArray(R"({"json": {"ok": false}})") << false;
        QTest::newRow("ok as text") << QByteArray(R"({"json": {"ok": "true"}})") << false;
        QTest::newRow("500 with ok") << QByteArray(R"({"status": 500, "json": {"ok": true}})") << false;
        QTest::newRow("HTML") << QByteArray(R"({"body": "<html>ok</html>"})") << false;
        QTest::newRow("cut-off body") << QByteArray(R"({"json": {"ok": true}, "headers": {"Content-Length": "99"}})")
                                      << false;
    }

    void healthIsOnlyAnExactYes()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, reachable);
        Broker broker(scenario(R"({"GET /health": [)" + answer + "]}"));
        QCOMPARE(waitForTask(broker.client.isReachable()), reachable);
        QCOMPARE(broker.standIn.requests().size(), 1);
    }

    void refusedOrSilentGatewayIsUnreachableInTime_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("connection refused") << false;
        QTest::newRow("never answers") << true;
    }

    void refusedOrSilentGatewayIsUnreachableInTime()
    {
        QFETCH(bool, listening);
        auto standIn = std::make_unique<GatewayStandIn>(
            scenario(R"({"GET /health": [{"hold": true}], "POST /api/v1/auth/login": [{"hold": true}]})"));
        standIn->listen();
        const QUrl base = standIn->baseUrl();
        if (!listening)
            standIn.reset();
        MacKorvaneApiClient client(base, shortLimits(300ms, 600ms));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!waitForTask(client.isReachable()));
        QVERIFY2(clock.elapsed() < 1500, QByteArray::number(clock.elapsed()));
        QCOMPARE(outcome(client.login("tech1", "pw", false)),
                 "platform: The request to 127.0.0.1 " +
                     QString(listening ? "timed out." : "failed: Connection refused"));
    }

    void pinIsSixNumericCharactersAsTyped_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("sent");
        QTest::newRow("six ASCII digits") << "123456" << true;
        QTest::newRow("five") << "12345" << false;
        QTest::newRow("seven") << "1234567" << false;
        QTest::newRow("a letter") << "12345a" << false;
        QTest::newRow("leading space") << " 123456" << false;
        QTest::newRow("trailing space") << "123456 " << false;
        QTest::newRow("Arabic-Indic digits") << "\u0660\u0661\u0662\u0663\u0664\u0665" << true;
        QTest::newRow("a combining mark joins its digit") << "1\u03012345" << false;
        QTest::newRow("six digits, each with a mark") << "1\u03012\u03013\u03014\u03015\u03016\u0301" << true;
    }

    void pinIsSixNumericCharactersAsTyped()
    {
        QFETCH(QString, pin);
        QFETCH(bool, sent);
        Broker broker(scenario(loginScenario(loginReply("tok"))));
        const QString result = outcome(broker.client.login(" tech1 ", pin, true));
        QCOMPARE(result, sent ? "ok" : "A Korvane PIN must contain exactly six digits.");
        QCOMPARE(broker.standIn.requests().size(), sent ? 1 : 0);
        if (sent) {
            const QJsonObject body = QJsonDocument::fromJson(broker.standIn.requests().first().body).object();
            QCOMPARE(body, (QJsonObject{{"identifier", "tech1"}, {"pin", pin}}));
        }
    }

    void toolSourceAndFailuresLeaveTheSignInAlone_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("result");

        const QString wrongTool = "The Wrenlow broker returned an unexpected tool identity.";
        QTest::newRow("wrenlow") << loginReply("new", R"({"source": "wrenlow"})") << "ok";
        QTest::newRow("WRENLOW") << loginReply("new", R"({"source": "WRENLOW"})") << "ok";
        QTest::newRow("bridge, mixed case") << loginReply("new", R"({"source": "Wrenlow-Mac-Bridge"})") << "ok";
        QTest::newRow("empty source") << loginReply("new", R"({"source": ""})") << "ok";
        QTest::newRow("no tool") << loginReply("new", "") << "ok";
        QTest::newRow("prefix of the bridge") << loginReply("new", R"({"source": "wrenlow-mac"})") << wrongTool;
        QTest::newRow("leading blank") << loginReply("new", R"({"source": " wrenlow"})") << wrongTool;
        QTest::newRow("wrong password") << QByteArray(R"({"status": 401, "json": {"error": {"message": "Bad"}}})")
                                        << "HTTP 401";
        QTest::newRow("undecodable reply") << QByteArray(R"({"json": {"access_token": "new"}})")
                                           << "platform: The data could not be read: “token_type” is missing.";
    }

    void toolSourceAndFailuresLeaveTheSignInAlone()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, result);
        const bool accepted = result == "ok";
        for (const bool signedInBefore : {false, true}) {
            Broker broker(scenario(loginScenario(signedInBefore ? loginReply("old") + "," + reply : reply)));
            if (signedInBefore)
                broker.signIn();
            QCOMPARE(outcome(broker.client.login("tech1", "pw", false)), result);
            QCOMPARE(broker.client.brokerToken().value_or("none"), accepted ? "new" : signedInBefore ? "old" : "none");
        }
    }

    void signOutAlwaysEndsSignedOut_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("500") << QByteArray(R"({"status": 500, "json": {"message": "down"}})");
        QTest::newRow("cut-off answer") << QByteArray(R"({"body": "partial", "headers": {"Content-Length": "99"}})");
    }

    void signOutAlwaysEndsSignedOut()
    {
        QFETCH(QByteArray, answer);
        Broker broker(signedInScenario("POST /api/v1/auth/logout", answer));
        waitForTask(broker.client.logout()); // signed out: nothing is sent
        QCOMPARE(broker.standIn.requests().size(), 0);
        broker.signIn();
        waitForTask(broker.client.logout());
        QVERIFY(!broker.client.isSignedIn());
        QCOMPARE(broker.standIn.requests().size(), 2);
        QCOMPARE(outcome(broker.client.creationOptions()), "Sign in to Korvane before continuing.");
        QCOMPARE(outcome(broker.client.resolve(QJsonObject{})), "Sign in to Korvane before continuing.");
        QCOMPARE(outcome(broker.client.currentUser()), "Sign in to Korvane before continuing.");
        QCOMPARE(broker.standIn.requests().size(), 2);
    }

    void repliesMustBeWhatEachOperationReads_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("result");

        const QString unreadable = "The Wrenlow service returned an unreadable response.";
        QTest::newRow("resolve: empty object") << "resolve" << QByteArray(R"({"json": {}})") << "ok";
        QTest::newRow("resolve: list") << "resolve" << QByteArray(R"({"json": [{"status": "matched"}]})") << unreadable;
        QTest::newRow("resolve: empty body")
            << "resolve" << QByteArray(R"({"status": 200})") << "platform: The data could not be read: illegal value.";
        QTest::newRow("resolve: scalar") << "resolve" << QByteArray(R"({"json": 5})")
                                         << "platform: The data could not be read: illegal value.";
        QTest::newRow("resolve: 401 keeps the sign-in")
            << "resolve" << QByteArray(R"({"status": 401, "json": {"error": {"code": "expired"}}})") << "HTTP 401";
        QTest::newRow("action: list") << "action" << QByteArray(R"({"json": []})") << unreadable;
        QTest::newRow("options: empty lists")
            << "options" << QByteArray(R"({"json": {"lots": [], "unit_categories": []}})") << "ok";
        QTest::newRow("me: the sign-in reply is not a user")
            << "me" << loginReply("tok") << "platform: The data could not be read: “user_id” is missing.";
    }

    void repliesMustBeWhatEachOperationReads()
    {
        QFETCH(QString, operation);
        QFETCH(QByteArray, answer);
        QFETCH(QString, result);
        const QMap<QString, QByteArray> routes{{"resolve", "POST /api/v1/units/resolve"},
                                               {"action", "POST /api/v1/units/action"},
                                               {"options", "GET /api/v1/units/creation-options"},
                                               {"me", "GET /api/v1/auth/me"}};
        Broker broker(signedInScenario(routes.value(operation), answer));
        broker.signIn();
        MacKorvaneApiClient &client = broker.client;
        const QString actual = operation == "resolve"   ? outcome(client.resolve(QJsonObject{}))
                               : operation == "action"  ? outcome(client.applyUnitAction(QJsonObject{}))
                               : operation == "options" ? outcome(client.creationOptions())
                                                        : outcome(client.currentUser());
        QCOMPARE(actual, result);
        QCOMPARE(client.brokerToken(), "tok");
    }
};

QTEST_GUILESS_MAIN(TestMacKorvaneApiClient)
#include "TestMacKorvaneApiClient.moc"
