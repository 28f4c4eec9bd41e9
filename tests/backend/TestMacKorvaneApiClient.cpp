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

GatewayScenario scenario(const QString &json)
{
    return GatewayScenario(QJsonDocument::fromJson(json.toUtf8()).object());
}

// A sign-in reply of the broker; `tool` is the JSON of its "tool" member, or empty for none.
QString loginReply(const QString &token, const QString &tool = R"({"source": "wrenlow"})")
{
    return R"({"json": {"access_token": ")" + token +
           R"(", "token_type": "bearer", "expires_at": "2030-01-01T00:00:00Z",
               "user": {"user_id": 17, "username": "tech1"})" +
           (tool.isEmpty() ? "" : ", \"tool\": " + tool) + "}}";
}

// The sign-in route plays `logins`; `route`, when given, plays `answers`.
GatewayScenario loginScenario(const QString &logins, const QString &route = {}, const QString &answers = {})
{
    const QString other = route.isEmpty() ? "" : ", \"" + route + "\": [" + answers + "]";
    return scenario(R"({"POST /api/v1/auth/login": [)" + logins + "]" + other + "}");
}

// How an operation ended: "ok", "HTTP <status>" for an error answer, or the error's text.
template <typename T> QString outcome(QCoro::Task<T> task)
{
    try {
        waitForTask(std::move(task));
        return "ok";
    } catch (const KorvaneApiError &error) {
        return "HTTP " + QString::number(error.statusCode());
    } catch (const WrenlowError &error) {
        return error.description();
    }
}

// A stand-in gateway on loopback and a client pointed at it.
struct Broker
{
    explicit Broker(GatewayScenario script, MacKorvaneApiClient::Sleeper sleeper = MacKorvaneApiClient::timerSleep)
        : standIn(std::move(script))
        , client((standIn.listen(), standIn.baseUrl()), MacKorvaneApiClient::standardLimits(), std::move(sleeper))
    {}

    void signIn() { waitForTask(client.login("tech1", "secret", false)); }

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
        Broker broker(scenario(R"({
            "GET /health": [{"json": {"ok": true}}],
            "POST /api/v1/auth/login": [)" +
                               loginReply("tok-1") + "," + loginReply("tok-2") + R"(],
            "GET /api/v1/units/creation-options": [{"json": {"lots": [], "unit_categories": []}}],
            "POST /api/v1/units/resolve": [{"json": {"status": "matched"}}],
            "GET /api/v1/auth/me": [{"json": {"user_id": 17, "username": "tech1"}}],
            "POST /api/v1/units/action": [{"json": {}}],
            "POST /api/v1/auth/logout": [{"status": 500, "json": {"message": "down"}}]
        })"));
        MacKorvaneApiClient &client = broker.client;
        QVERIFY(waitForTask(client.isReachable()));
        waitForTask(client.logout()); // not signed in: nothing is sent
        waitForTask(client.login(" tech1\n", " pass word ", false));
        QCOMPARE(client.brokerToken(), "tok-1");
        waitForTask(client.creationOptions());
        QCOMPARE(waitForTask(client.resolve({{"lot_id", 3}, {"serial", "C02X"}})),
                 (QJsonObject{{"status", "matched"}}));
        QCOMPARE(waitForTask(client.currentUser()).username, "tech1");
        waitForTask(client.applyUnitAction(QJsonObject{}));
        waitForTask(client.login("tech1", "again", false)); // signed in, yet no bearer token on the sign-in
        QCOMPARE(client.brokerToken(), "tok-2");
        waitForTask(client.logout()); // the broker's failure is ignored
        QCOMPARE(client.brokerToken(), std::nullopt);
        QCOMPARE(outcome(client.creationOptions()), "Sign in to Korvane before continuing.");
        // method, path, then Accept, Authorization and Content-Type ("-" when absent), then the body
        QStringList seen;
        for (const LoggedRequest &r : broker.standIn.requests())
            seen << QString("%1 %2 %3 %4 %5 %6")
                        .arg(r.method, r.path, r.headers.value("accept", "-"), r.headers.value("authorization", "-"),
                             r.headers.value("content-type", "-"), QString::fromUtf8(r.body));
        // clang-format off
        QCOMPARE(seen, (QStringList{"GET /health - - - ",
            R"(POST /api/v1/auth/login application/json - application/json {"identifier":"tech1","password":" pass word "})",
            "GET /api/v1/units/creation-options application/json Bearer tok-1 - ",
            R"(POST /api/v1/units/resolve application/json Bearer tok-1 application/json {"lot_id":3,"serial":"C02X"})",
            "GET /api/v1/auth/me application/json Bearer tok-1 - ",
            "POST /api/v1/units/action application/json Bearer tok-1 application/json {}",
            R"(POST /api/v1/auth/login application/json - application/json {"identifier":"tech1","password":"again"})",
            "POST /api/v1/auth/logout application/json Bearer tok-2 - "}));
        // clang-format on
    }

    void login_data()
    {
        QTest::addColumn<QString>("pin"); // none: a password sign-in
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("result");
        const QString wrongTool = "The Wrenlow broker returned an unexpected tool identity.";
        const QString notSix = "A Korvane PIN must contain exactly six digits.";
        // clang-format off
        QTest::newRow("wrenlow") << "" << loginReply("new", R"({"source": "wrenlow"})") << "ok";
        QTest::newRow("bridge, mixed case") << "" << loginReply("new", R"({"source": "Wrenlow-Mac-Bridge"})") << "ok";
        QTest::newRow("null source") << "" << loginReply("new", R"({"source": null})") << "ok";
        QTest::newRow("no tool") << "" << loginReply("new", "") << "ok";
        QTest::newRow("prefix of the bridge") << "" << loginReply("new", R"({"source": "wrenlow-mac"})") << wrongTool;
        QTest::newRow("leading blank") << "" << loginReply("new", R"({"source": " wrenlow"})") << wrongTool;
        QTest::newRow("wrong password") << "" << R"({"status": 401, "json": {"error": {"message": "Bad"}}})" << "HTTP 401";
        QTest::newRow("six ASCII digits") << "123456" << loginReply("new") << "ok";
        QTest::newRow("a letter") << "12345a" << loginReply("new") << notSix;
        QTest::newRow("Arabic-Indic digits") << "\u0660\u0661\u0662\u0663\u0664\u0665" << loginReply("new") << "ok";
        QTest::newRow("a combining mark joins its digit") << "1\u03012345" << loginReply("new") << notSix;
        QTest::newRow("six digits, each with a mark") << "1\u03012\u03013\u03014\u03015\u03016\u0301" << loginReply("new") << "ok";
        // clang-format on
    }

    // A refused or unexpected sign-in leaves the session there was; a PIN is six numeric characters as typed.
    void login()
    {
        QFETCH(QString, pin);
        QFETCH(QString, reply);
        QFETCH(QString, result);
        const QString credential = pin.isEmpty() ? "pw" : pin;
        for (const bool signedInBefore : {false, true}) {
            Broker broker(loginScenario(signedInBefore ? loginReply("old") + "," + reply : reply));
            if (signedInBefore)
                broker.signIn();
            QCOMPARE(outcome(broker.client.login(" tech1 ", credential, !pin.isEmpty())), result);
            const QString kept = signedInBefore ? "old" : "none";
            QCOMPARE(broker.client.brokerToken().value_or("none"), result == "ok" ? "new" : kept);
            const QList<LoggedRequest> sent = broker.standIn.requests().mid(signedInBefore ? 1 : 0);
            QCOMPARE(sent.size(), result.contains("PIN") ? 0 : 1);
            for (const LoggedRequest &request : sent)
                QCOMPARE(QJsonDocument::fromJson(request.body).object(),
                         (QJsonObject{{"identifier", "tech1"}, {pin.isEmpty() ? "password" : "pin", credential}}));
        }
    }

    void replies_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("result");
        const QString health = "GET /health";
        const QString resolve = "POST /api/v1/units/resolve";
        const QString unreadable = "The Wrenlow service returned an unreadable response.";
        // clang-format off
        QTest::newRow("health: 200 ok true") << health << R"({"json": {"ok": true, "version": "1"}})" << "reachable";
        QTest::newRow("health: ok as text") << health << R"({"json": {"ok": "true"}})" << "unreachable";
        QTest::newRow("health: 500 with ok") << health << R"({"status": 500, "json": {"ok": true}})" << "unreachable";
        QTest::newRow("resolve: object") << resolve << R"({"json": {}})" << "ok";
        QTest::newRow("resolve: list") << resolve << R"({"json": [{}]})" << unreadable;
        for (const char *body : {"null", "42", "\"text\"", ""})
            QTest::addRow("resolve: body [%s]", body) << resolve << QString(QJsonDocument(QJsonObject{{"body", body}}).toJson()) << unreadable;
        QTest::newRow("resolve: 401 keeps the sign-in") << resolve << R"({"status": 401, "json": {"error": {"code": "expired"}}})" << "HTTP 401";
        // clang-format on
    }

    // The health probe is only an exact yes; a resolve answer must be an object. Neither is sent twice.
    void replies()
    {
        QFETCH(QString, route);
        QFETCH(QString, answer);
        Broker broker(loginScenario(loginReply("tok"), route, answer));
        broker.signIn();
        MacKorvaneApiClient &client = broker.client;
        QTEST(route == "GET /health" ? QString(waitForTask(client.isReachable()) ? "reachable" : "unreachable")
                                     : outcome(client.resolve(QJsonObject{})),
              "result");
        QCOMPARE(broker.standIn.requests().size(), 2);
        QCOMPARE(client.brokerToken(), "tok");
    }

    void commitRetriesByItsOwnSchedule_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QList<qint64>>("waits");
        QTest::addColumn<QString>("result");

        using Waits = QList<qint64>;
        const QString ok = R"({"json": {}})";
        // A connection cut off mid-answer is a transport failure that Qt does not send again by itself.
        const QString cutOff = R"({"body": "partial", "headers": {"Content-Length": "99"}})";
        // clang-format off
        QTest::newRow("503, 503, 200") << R"({"status": 503}, {"status": 503}, )" + ok << Waits{600, 1200} << "ok";
        QTest::newRow("429 hint 100 waits 250") << R"({"status": 429, "json": {"retryAfterMs": 100}}, )" + ok << Waits{250} << "ok";
        QTest::newRow("503 Retry-After 2 s") << R"({"status": 503, "headers": {"Retry-After": "2"}}, )" + ok << Waits{2000} << "ok";
        QTest::newRow("429 without a hint, three times") << R"({"status": 429})" << Waits{600, 1200} << "HTTP 429";
        QTest::newRow("503 told not retryable is still retried") << R"({"status": 503, "json": {"retryable": false}}, )" + ok << Waits{600} << "ok";
        QTest::newRow("409 never") << R"({"status": 409, "json": {"retryable": true}})" << Waits{} << "HTTP 409";
        QTest::newRow("transport failures, then an object") << cutOff + "," + cutOff + "," + ok << Waits{600, 1200} << "ok";
        QTest::newRow("last attempt's error is raised") << R"({"status": 503}, )" + cutOff + R"(, {"status": 502})" << Waits{600, 1200} << "HTTP 502";
        // clang-format on
    }

    void commitRetriesByItsOwnSchedule()
    {
        QFETCH(QString, answers);
        QFETCH(QList<qint64>, waits);
        QList<qint64> slept;
        Broker broker(loginScenario(loginReply("tok"), "POST /api/v1/units/commit", answers),
                      [&slept](std::chrono::milliseconds wait) -> QCoro::Task<> {
                          slept.append(wait.count());
                          co_return;
                      });
        broker.signIn();
        QTEST(outcome(broker.client.commit(QJsonObject{{"unit", "C02X"}, {"lot_id", 3}})), "result");
        QCOMPARE(slept, waits);
        const QList<LoggedRequest> sends = broker.standIn.requests().mid(1);
        QCOMPARE(sends.size(), waits.size() + 1);
        for (const LoggedRequest &send : sends)
            QCOMPARE(send.body, R"({"lot_id":3,"unit":"C02X"})");
    }

    // The window closing while a commit waits to retry: the client is gone when the wait ends.
    void destroyedWhileACommitWaits()
    {
        GatewayStandIn standIn(loginScenario(loginReply("tok"), "POST /api/v1/units/commit", R"({"status": 503})"));
        standIn.listen();
        m_retryWaiting = false;
        auto client =
            std::make_unique<MacKorvaneApiClient>(standIn.baseUrl(), MacKorvaneApiClient::standardLimits(),
                                                  [this](std::chrono::milliseconds) { return retryWait(this); });
        waitForTask(client->login("tech1", "secret", false));
        std::optional<QCoro::Task<QJsonObject>> commit(client->commit(QJsonObject{}));
        QTRY_VERIFY(m_retryWaiting);
        client.reset();
        emit retryWaitEnds(); // after the client: the commit ends there
        QTRY_VERIFY(commit->isReady());
        commit.reset();
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
