#include "BrokerTestSupport.h"

#include <QElapsedTimer>
#include <QTest>

using namespace wrenlow;
using namespace wrenlow::test;
using namespace std::chrono_literals;

namespace {

// Notes each wait instead of sleeping.
MacKorvaneApiClient::Sleeper recorder(QList<qint64> &slept)
{
    return [&slept](std::chrono::milliseconds wait) -> QCoro::Task<> {
        slept.append(wait.count());
        co_return;
    };
}

} // namespace

class TestKorvaneCommit : public QObject
{
    Q_OBJECT

private slots:
    void commitRetriesByItsOwnSchedule_data()
    {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QList<qint64>>("waits");
        QTest::addColumn<QString>("result");

        using Waits = QList<qint64>;
        QTest::newRow("503, 503, 200") << QByteArray(R"({"status": 503}, {"status": 503}, {"json": {"id": 1}})")
                                       << Waits{600, 1200} << "ok";
        QTest::newRow("500, then an object") << QByteArray(R"({"status": 500}, {"json": {}})") << Waits{600} << "ok";
        QTest::newRow("429 hint 3000") << QByteArray(R"({"status": 429, "json": {"retryAfterMs": 3000}}, {"json": {}})")
                                       << Waits{3000} << "ok";
        QTest::newRow("429 hint 100 waits 250")
            << QByteArray(R"({"status": 429, "json": {"retryAfterMs": 100}}, {"json": {}})") << Waits{250} << "ok";
        QTest::newRow("429 hint a minute waits 5000")
            << QByteArray(R"({"status": 429, "json": {"error": {"retryAfterMs": 60000}}}, {"json": {}})") << Waits{5000}
            << "ok";
        QTest::newRow("503 Retry-After 2 s")
            << QByteArray(R"({"status": 503, "headers": {"Retry-After": "2"}}, {"json": {}})") << Waits{2000} << "ok";
        QTest::newRow("429 without a hint, three times")
            << QByteArray(R"({"status": 429})") << Waits{600, 1200} << "HTTP 429";
        QTest::newRow("400 told retryable")
            << QByteArray(R"({"status": 400, "json": {"retryable": true}}, {"json": {}})") << Waits{600} << "ok";
        QTest::newRow("503 told not retryable is still retried")
            << QByteArray(R"({"status": 503, "json": {"retryable": false}}, {"json": {}})") << Waits{600} << "ok";
        QTest::newRow("409 never") << QByteArray(R"({"status": 409, "json": {"retryable": true}})") << Waits{}
                                   << "HTTP 409";
        QTest::newRow("401 not retried") << QByteArray(R"({"status": 401})") << Waits{} << "HTTP 401";
        QTest::newRow("list reply, three times") << QByteArray(R"({"json": []})") << Waits{600, 1200}
                                                 << "The Wrenlow service returned an unreadable response.";
        // A connection cut off mid-answer is a transport failure that Qt does not send again by itself.
        const QByteArray cutOff = R"({"body": "partial", "headers": {"Content-Length": "99"}})";
        QTest::newRow("transport failures, then an object")
            << cutOff + "," + cutOff + R"(, {"json": {}})" << Waits{600, 1200} << "ok";
        QTest::newRow("last attempt's error is raised")
            << R"({"status": 503}, )" + cutOff + R"(, {"status": 502})" << Waits{600, 1200} << "HTTP 502";
        QTest::newRow("a time-out is a transport failure")
            << QByteArray(R"({"hold": true}, {"json": {}})") << Waits{600} << "ok";
    }

    void commitRetriesByItsOwnSchedule()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QList<qint64>, waits);
        QFETCH(QString, result);
        QList<qint64> slept;
        Broker broker(signedInScenario("POST /api/v1/units/commit", answers), shortLimits(300ms), recorder(slept));
        broker.signIn();
        const QJsonObject body{{"unit", "C02X"}, {"lot_id", 3}};
        QCOMPARE(outcome(broker.client.commit(body)), result);
        QCOMPARE(slept, waits);
        const QList<LoggedRequest> sends = broker.standIn.requests().mid(1);
        QCOMPARE(sends.size(), waits.size() + 1);
        for (const LoggedRequest &send : sends)
            QCOMPARE(send.body, R"({"lot_id":3,"unit":"C02X"})");
    }

    void commitWhileSignedOutRetriesWithoutSending()
    {
        QList<qint64> slept;
        Broker broker(scenario("{}"), MacKorvaneApiClient::standardLimits(), recorder(slept));
        QCOMPARE(outcome(broker.client.commit(QJsonObject{})), "Sign in to Korvane before continuing.");
        QCOMPARE(slept, (QList<qint64>{600, 1200}));
        QCOMPARE(broker.standIn.requests().size(), 0);
    }

    void productionSleeperWaitsOnTheEventLoop()
    {
        QElapsedTimer clock;
        clock.start();
        waitForTask(MacKorvaneApiClient::timerSleep(std::chrono::milliseconds(120)));
        QVERIFY2(clock.elapsed() >= 110, QByteArray::number(clock.elapsed()));
    }
};

QTEST_GUILESS_MAIN(TestKorvaneCommit)
#include "TestKorvaneCommit.moc"
