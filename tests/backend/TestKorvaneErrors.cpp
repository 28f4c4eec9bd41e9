#include "backend/KorvaneErrors.h"

#include <QSet>
#include <QTest>

using namespace wrenlow;

class TestKorvaneErrors : public QObject
{
    Q_OBJECT

private slots:
    void envelopeIsReadByPrecedence_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("code"); // "-" when there is none
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("retryable");
        QTest::addColumn<qint64>("retryAfterMs"); // every answer carries "Retry-After: 2"

        const QString fallback = "Wrenlow backend returned HTTP ";
        QTest::newRow("nested") << 403 << QByteArray(R"({"error": {"code": "denied", "message": "No access"}})")
                                << "denied"
                                << "No access" << false << qint64(2000);
        QTest::newRow("nested code, root message")
            << 400 << QByteArray(R"({"error": {"code": "c1"}, "message": "Top"})") << "c1"
            << "Top" << false << qint64(2000);
        QTest::newRow("root only") << 422 << QByteArray(R"({"code": "c2", "message": "M2"})") << "c2"
                                   << "M2" << false << qint64(2000);
        QTest::newRow("root code unread beside a nested envelope")
            << 400 << QByteArray(R"({"error": {"message": "M"}, "code": "c"})") << "-"
            << "M" << false << qint64(2000);
        QTest::newRow("error as a text: the root is the envelope")
            << 400 << QByteArray(R"({"error": "boom", "code": "c3"})") << "c3" << fallback + "400." << false
            << qint64(2000);
        QTest::newRow("HTML 503") << 503 << QByteArray("<html>Bad gateway</html>") << "-" << fallback + "503." << true
                                  << qint64(2000);
        QTest::newRow("HTML 500") << 500 << QByteArray("<html></html>") << "-" << fallback + "500." << false
                                  << qint64(2000);
        QTest::newRow("empty 429") << 429 << QByteArray() << "-" << fallback + "429." << true << qint64(2000);
        QTest::newRow("429 told not retryable")
            << 429 << QByteArray(R"({"retryable": false})") << "-" << fallback + "429." << false << qint64(2000);
        QTest::newRow("400 told retryable") << 400 << QByteArray(R"({"error": {"retryable": true}})") << "-"
                                            << fallback + "400." << true << qint64(2000);
        QTest::newRow("whole wait wins over the header") << 429 << QByteArray(R"({"error": {"retryAfterMs": 1500}})")
                                                         << "-" << fallback + "429." << true << qint64(1500);
        QTest::newRow("fractional nested wait, whole root wait")
            << 429 << QByteArray(R"({"error": {"retryAfterMs": 1500.5}, "retryAfterMs": 700})") << "-"
            << fallback + "429." << true << qint64(700);
        QTest::newRow("fractional wait: the header")
            << 429 << QByteArray(R"({"retryAfterMs": 1500.5})") << "-" << fallback + "429." << true << qint64(2000);
    }

    void envelopeIsReadByPrecedence()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, code);
        QFETCH(QString, message);
        QFETCH(bool, retryable);
        QFETCH(qint64, retryAfterMs);
        const KorvaneApiError error = KorvaneApiError::fromAnswer(status, body, "2");
        QCOMPARE(error.statusCode(), status);
        QCOMPARE(error.code().value_or("-"), code);
        QCOMPARE(error.description(), message);
        QCOMPARE(error.retryable(), retryable);
        QCOMPARE(error.retryAfterMs(), retryAfterMs);
        QCOMPARE(error.sessionExpired(), false);
    }

    void retryAfterHeaderIsReadAsSeconds_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<qint64>("retryAfterMs"); // -1 when there is none

        QTest::newRow("2") << QByteArray("2") << qint64(2000);
        QTest::newRow("0.25") << QByteArray("0.25") << qint64(250);
        QTest::newRow("-3") << QByteArray("-3") << qint64(0);
        QTest::newRow("cut toward zero") << QByteArray("0.0019") << qint64(1);
        QTest::newRow("not a number reads as 0") << QByteArray("nan") << qint64(0);
        QTest::newRow("leading blank") << QByteArray(" 2") << qint64(-1);
        QTest::newRow("trailing blank") << QByteArray("2 ") << qint64(-1);
        QTest::newRow("decimal comma") << QByteArray("0,25") << qint64(-1);
        QTest::newRow("HTTP date") << QByteArray("Wed, 21 Oct 2015 07:28:00 GMT") << qint64(-1);
        QTest::newRow("infinite") << QByteArray("inf") << qint64(-1);
        QTest::newRow("fits 64 bits") << QByteArray("9e15") << qint64(9000000000000000000);
        QTest::newRow("beyond 64 bits") << QByteArray("9.3e15") << qint64(-1);
    }

    void retryAfterHeaderIsReadAsSeconds()
    {
        QFETCH(QByteArray, header);
        QFETCH(qint64, retryAfterMs);
        QCOMPARE(KorvaneApiError::fromAnswer(503, "{}", header).retryAfterMs().value_or(-1), retryAfterMs);
    }

    void sessionExpiryAndClientErrorIdentity()
    {
        QVERIFY(KorvaneApiError::fromAnswer(401, {}, {}).sessionExpired());
        using Kind = KorvaneClientError::Kind;
        // Raised by nothing in the client, yet a case with its own text; the others show in the client's tests.
        QCOMPARE(KorvaneClientError(Kind::BridgeUnavailable).description(),
                 "The Wrenlow backend gateway is unavailable.");
        QCOMPARE(KorvaneClientError(Kind::NotSignedIn), KorvaneClientError(Kind::NotSignedIn));
        QCOMPARE(QSet<KorvaneClientError>({KorvaneClientError(Kind::InvalidPin), KorvaneClientError(Kind::InvalidPin),
                                           KorvaneClientError(Kind::WrongToolSource)})
                     .size(),
                 2);
    }
};

QTEST_GUILESS_MAIN(TestKorvaneErrors)
#include "TestKorvaneErrors.moc"
