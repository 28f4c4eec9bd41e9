#include "backend/KorvaneErrors.h"
#include "backend/MacKorvaneApiClient.h"

#include "GatewayStandIn.h"
#include "TaskWait.h"

#include <QCoroSignal>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using wrenlow::support::waitForTask;

namespace {

// A sign-in reply of the broker; `tool` is the JSON of its "tool" member, or empty for none.
QString loginReply(const QString &token, const QString &tool = R"({"source": "wrenlow"})")
{
    return R"({"json": {"access_token": ")" + token +
           R"(", "token_type": "bearer", "expires_at": "2030-01-01T00:00:00Z",
               "user": {"user_id": 17, "username": "tech1"})" +
           (tool.isEmpty() ? "" : ", \"tool\": " + tool) + "}}";
}

// The sign-in route plays `logins`; `more` adds further routes as JSON members.
GatewayScenario loginScenario(const QString &logins, const QString &more = {})
{
    return GatewayScenario(
        QJsonDocument::fromJson((R"({"POST /api/v1/auth/login": [)" + logins + "]" + more + "}").toUtf8()).object());
}

// How an operation ended: "ok", "HTTP <status>: <message>" for an error answer, or the error's text.
template <typename T> QString outcome(QCoro::Task<T> task)
{
    try {
        waitForTask(std::move(task));
        return "ok";
    } catch (const KorvaneApiError &error) {
        return QString("HTTP %1: %2").arg(error.statusCode()).arg(error.description());
    } catch (const WrenlowError &error) {
        return error.description();
    }
}

// A stand-in gateway on loopback and a client pointed at it.
struct Broker
{
    explicit Broker(GatewayScenario script, MacKorvaneApiClient::Sleeper sleeper = preciseWait)
        : standIn(std::move(script))
        , client((standIn.listen(), standIn.baseUrl()), MacKorvaneApiClient::standardLimits(), std::move(sleeper))
    {}

    GatewayStandIn standIn;
    MacKorvaneApiClient client;
};

} // namespace

class TestMacKorvaneApiClient : public QObject
{
    Q_OBJECT

private slots:
    void sessionRequestsCarryTheirOwnHeaders()
    {
        Broker broker(loginScenario(loginReply("tok-1") + "," + loginReply("tok-2"), R"(,
            "GET /api/v1/units/creation-options": [{"json": {"lots": [], "unit_categories": []}}], "POST /api/v1/units/resolve": [{"json": {}}],
            "GET /api/v1/auth/me": [{"json": {"user_id": 17, "username": "tech1"}}], "POST /api/v1/units/action": [{"json": {}}],
            "POST /api/v1/auth/logout": [{"status": 500, "json": {"message": "down"}}])"));
        MacKorvaneApiClient &client = broker.client;
        waitForTask(client.logout()); // not signed in: nothing is sent
        waitForTask(client.login(" tech1\n", " pass word ", false));
        waitForTask(client.creationOptions());
        waitForTask(client.resolve({{"lot_id", 3}, {"serial", "C02X"}}));
        QCOMPARE(waitForTask(client.currentUser()).username, "tech1");
        waitForTask(client.applyUnitAction(QJsonObject{}));
        waitForTask(client.login("tech1", "again", false)); // signed in, yet no bearer token on the sign-in
        waitForTask(client.logout());                       // the broker's failure is ignored
        QCOMPARE(outcome(client.creationOptions()), "Sign in to Korvane before continuing.");
        // method, path, then Accept, Authorization and Content-Type ("-" when absent), then the body
        QStringList seen;
        for (const LoggedRequest &r : broker.standIn.requests())
            seen << QString("%1 %2 %3 %4 %5 %6")
                        .arg(r.method, r.path, r.headers.value("accept", "-"), r.headers.value("authorization", "-"),
                             r.headers.value("content-type", "-"), QString::fromUtf8(r.body));
        // clang-format off
        QCOMPARE(seen, (QStringList{R"(POST /api/v1/auth/login application/json - application/json {"identifier":"tech1","password":" pass word "})",
            "GET /api/v1/units/creation-options application/json Bearer tok-1 - ",
            R"(POST /api/v1/units/resolve application/json Bearer tok-1 application/json {"lot_id":3,"serial":"C02X"})",
            "GET /api/v1/auth/me application/json Bearer tok-1 - ", "POST /api/v1/units/action application/json Bearer tok-1 application/json {}",
            R"(POST /api/v1/auth/login application/json - application/json {"identifier":"tech1","password":"again"})",
            "POST /api/v1/auth/logout application/json Bearer tok-2 - "}));
        // clang-format on
    }

    void login_data()
    {
        QTest::addColumn<QString>("pin"); // none: a password sign-in
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("result");
        // clang-format off
        QTest::newRow("bridge, mixed case") << "" << loginReply("new", R"({"source": "Wrenlow-Mac-Bridge"})") << "ok";
        QTest::newRow("null source") << "" << loginReply("new", R"({"source": null})") << "ok";
        QTest::newRow("no tool") << "" << loginReply("new", "") << "ok";
        QTest::newRow("prefix of the bridge") << "" << loginReply("new", R"({"source": "wrenlow-mac"})") << "The Wrenlow broker returned an unexpected tool identity.";
        QTest::newRow("leading blank") << "" << loginReply("new", R"({"source": " wrenlow"})") << "The Wrenlow broker returned an unexpected tool identity.";
        QTest::newRow("wrong password") << "" << R"({"status": 401, "json": {"error": {"message": "Bad"}}})" << "HTTP 401: Bad";
        QTest::newRow("302 without a place") << "" << R"({"status": 302, "json": {"error": {"message": "moved"}}})" << "HTTP 302: moved";
        QTest::newRow("six ASCII digits") << "123456" << loginReply("new") << "ok";
        QTest::newRow("a letter") << "12345a" << loginReply("new") << "A Korvane PIN must contain exactly six digits.";
        QTest::newRow("Arabic-Indic digits") << "\u0660\u0661\u0662\u0663\u0664\u0665" << loginReply("new") << "ok";
        QTest::newRow("a combining mark joins its digit") << "1\u03012345" << loginReply("new") << "A Korvane PIN must contain exactly six digits.";
        QTest::newRow("six digits, each with a mark") << "1\u03012\u03013\u03014\u03015\u03016\u0301" << loginReply("new") << "ok";
        // clang-format on
    }

    // A refused or unexpected sign-in keeps the session there was; a PIN is six numeric characters as typed.
    void login()
    {
        QFETCH(QString, pin);
        QFETCH(QString, reply);
        QFETCH(QString, result);
        const QString credential = pin.isEmpty() ? "pw" : pin;
        Broker broker(loginScenario(loginReply("old") + "," + reply));
        waitForTask(broker.client.login("tech1", "secret", false));
        QCOMPARE(outcome(broker.client.login(" tech1 ", credential, !pin.isEmpty())), result);
        QCOMPARE(broker.client.brokerToken(), result == "ok" ? "new" : "old");
        QCOMPARE(broker.standIn.requests().size(), result.contains("PIN") ? 1 : 2);
        for (const LoggedRequest &request : broker.standIn.requests().mid(1))
            QCOMPARE(QJsonDocument::fromJson(request.body).object(),
                     (QJsonObject{{"identifier", "tech1"}, {pin.isEmpty() ? "password" : "pin", credential}}));
    }

    void replies_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QList<qint64>>("waits"); // between commit attempts
        QTest::addColumn<QString>("result");
        using Waits = QList<qint64>;
        const QString health = "GET /health", resolve = "POST /api/v1/units/resolve",
                      commit = "POST /api/v1/units/commit";
        const QString unreadable = "The Wrenlow service returned an unreadable response.", ok = R"({"json": {}})";
        const auto answer = [](int status) {
            return QString("HTTP %1: Wrenlow backend returned HTTP %1.").arg(status);
        };
        // A connection cut off mid-answer is a transport failure that Qt does not send again by itself.
        const QString cutOff = R"({"body": "partial", "headers": {"Content-Length": "99"}})";
        // clang-format off
        QTest::newRow("health: ok as text") << health << R"({"json": {"ok": "true"}})" << Waits{} << "unreachable";
        QTest::newRow("health: 500 with ok") << health << R"({"status": 500, "json": {"ok": true}})" << Waits{} << "unreachable";
        QTest::newRow("health: 302 with ok") << health << R"({"status": 302, "json": {"ok": true}})" << Waits{} << "unreachable";
        QTest::newRow("resolve: object") << resolve << ok << Waits{} << "ok";
        // Only an object or a list is JSON; a list is the one that is JSON and unreadable.
        for (const char *body : {"[{}]", "null", "42", "\"text\"", "true", ""})
            QTest::addRow("resolve: body [%s]", body) << resolve << QString(QJsonDocument(QJsonObject{{"body", body}}).toJson()) << Waits{} << (*body == '[' ? unreadable : "The data could not be read: illegal value.");
        QTest::newRow("resolve: 401 keeps the sign-in") << resolve << R"({"status": 401, "json": {"error": {"code": "expired"}}})" << Waits{} << answer(401);
        QTest::newRow("commit: 429 hint 100 waits 250") << commit << R"({"status": 429, "json": {"retryAfterMs": 100}}, )" + ok << Waits{250} << "ok";
        QTest::newRow("commit: 503 Retry-After 2 s") << commit << R"({"status": 503, "headers": {"Retry-After": "2"}}, )" + ok << Waits{2000} << "ok";
        QTest::newRow("commit: 429 without a hint, three times") << commit << R"({"status": 429})" << Waits{600, 1200} << answer(429);
        QTest::newRow("commit: 503 told not retryable is still retried") << commit << R"({"status": 503, "json": {"retryable": false}}, )" + ok << Waits{600} << "ok";
        QTest::newRow("commit: 409 never") << commit << R"({"status": 409, "json": {"retryable": true}})" << Waits{} << answer(409);
        QTest::newRow("commit: 302 without a place, once") << commit << R"({"status": 302, "json": {"error": {"message": "moved"}}})" << Waits{} << "HTTP 302: moved";
        QTest::newRow("commit: transport failures, then an object") << commit << cutOff + "," + cutOff + "," + ok << Waits{600, 1200} << "ok";
        QTest::newRow("commit: last attempt's error is raised") << commit << R"({"status": 503}, )" + cutOff + R"(, {"status": 502})" << Waits{600, 1200} << answer(502);
        // clang-format on
    }

    // The health probe is only an exact yes; a resolve answer must be an object and is never sent twice; a commit
    // is sent again, the same, by its own schedule. None of them ends the sign-in.
    void replies()
    {
        QFETCH(QString, route);
        QFETCH(QString, answers);
        QFETCH(QList<qint64>, waits);
        QList<qint64> slept;
        Broker broker(loginScenario(loginReply("tok"), ", \"" + route + "\": [" + answers + "]"),
                      [&slept](std::chrono::milliseconds wait) -> QCoro::Task<> {
                          slept.append(wait.count());
                          co_return;
                      });
        waitForTask(broker.client.login("tech1", "secret", false));
        MacKorvaneApiClient &client = broker.client;
        const QJsonObject body{{"unit", "C02X"}, {"lot_id", 3}};
        QTEST(route == "GET /health" ? QString(waitForTask(client.isReachable()) ? "reachable" : "unreachable")
                                     : outcome(route.endsWith("commit") ? client.commit(body) : client.resolve(body)),
              "result");
        QCOMPARE(slept, waits);
        QCOMPARE(broker.standIn.requests().size(), waits.size() + 2);
        for (const LoggedRequest &send : broker.standIn.requests().mid(1))
            QVERIFY(route == "GET /health" || send.body == R"({"lot_id":3,"unit":"C02X"})");
        QCOMPARE(client.brokerToken(), "tok");
    }

    // The window closing while a commit waits to retry: the client is gone when the wait ends.
    void destroyedWhileACommitWaits()
    {
        GatewayStandIn standIn(loginScenario(loginReply("tok"), R"(, "POST /api/v1/units/commit": [{"status": 503}])"));
        standIn.listen();
        auto client =
            std::make_unique<MacKorvaneApiClient>(standIn.baseUrl(), MacKorvaneApiClient::standardLimits(),
                                                  [this](std::chrono::milliseconds) { return retryWait(this); });
        waitForTask(client->login("tech1", "secret", false));
        std::optional<QCoro::Task<QJsonObject>> commit(client->commit(QJsonObject{}));
        QTRY_VERIFY(m_retryWaiting);
        client.reset();
        emit retryWaitEnds(); // after the client: the commit ends there
        QTRY_VERIFY(commit->isReady());
        QCOMPARE(standIn.requests().size(), 2);
    }

signals:
    void retryWaitEnds();

private:
    bool m_retryWaiting = false;

    // A retry's wait that ends when the test says so.
    static QCoro::Task<> retryWait(TestMacKorvaneApiClient *test)
    {
        test->m_retryWaiting = true;
        co_await qCoro(test, &TestMacKorvaneApiClient::retryWaitEnds);
    }
};

QTEST_GUILESS_MAIN(TestMacKorvaneApiClient)
#include "TestMacKorvaneApiClient.moc"
