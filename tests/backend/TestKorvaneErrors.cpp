#include "backend/KorvaneErrors.h"

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
        // code ("-" for none) | message | retryable | wait; every answer carries "Retry-After: 2"
        QTest::addColumn<QString>("error");

        QTest::newRow("nested") << 403 << QByteArray(R"({"error": {"code": "denied", "message": "No access"}})")
                                << "denied | No access | final | 2000";
        QTest::newRow("nested code, root message")
            << 400 << QByteArray(R"({"error": {"code": "c1"}, "message": "Top"})") << "c1 | Top | final | 2000";
        QTest::newRow("root code unread beside a nested envelope")
            << 400 << QByteArray(R"({"error": {"message": "M"}, "code": "c"})") << "- | M | final | 2000";
        QTest::newRow("error as a text: the root is the envelope")
            << 400 << QByteArray(R"({"error": "boom", "code": "c3"})")
            << "c3 | Wrenlow backend returned HTTP 400. | final | 2000";
        QTest::newRow("HTML 503") << 503 << QByteArray("<html>Bad gateway</html>")
                                  << "- | Wrenlow backend returned HTTP 503. | retry | 2000";
        QTest::newRow("429 told not retryable")
            << 429 << QByteArray(R"({"retryable": false})") << "- | Wrenlow backend returned HTTP 429. | final | 2000";
        QTest::newRow("whole wait wins over the header") << 429 << QByteArray(R"({"error": {"retryAfterMs": 1500}})")
                                                         << "- | Wrenlow backend returned HTTP 429. | retry | 1500";
        QTest::newRow("fractional nested wait, whole root wait")
            << 429 << QByteArray(R"({"error": {"retryAfterMs": 1500.5}, "retryAfterMs": 700})")
            << "- | Wrenlow backend returned HTTP 429. | retry | 700";
        QTest::newRow("fractional wait: the header") << 429 << QByteArray(R"({"retryAfterMs": 1500.5})")
                                                     << "- | Wrenlow backend returned HTTP 429. | retry | 2000";
    }

    void envelopeIsReadByPrecedence()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, error);
        const KorvaneApiError read = KorvaneApiError::fromAnswer(status, body, "2");
        QCOMPARE(QStringList({read.code().value_or("-"), read.description(), read.retryable() ? "retry" : "final",
                              QString::number(read.retryAfterMs().value_or(-1))})
                     .join(" | "),
                 error);
    }

    void retryAfterHeaderIsReadAsSeconds_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<qint64>("retryAfterMs"); // -1 when there is none

        QTest::newRow("2") << QByteArray("2") << qint64(2000);
        QTest::newRow("-3") << QByteArray("-3") << qint64(0);
        QTest::newRow("not a number reads as 0") << QByteArray("nan") << qint64(0);
        QTest::newRow("leading blank") << QByteArray(" 2") << qint64(-1);
        QTest::newRow("fits 64 bits") << QByteArray("9e15") << qint64(9000000000000000000);
        QTest::newRow("beyond 64 bits") << QByteArray("9.3e15") << qint64(-1);
    }

    void retryAfterHeaderIsReadAsSeconds()
    {
        QFETCH(QByteArray, header);
        QFETCH(qint64, retryAfterMs);
        QCOMPARE(KorvaneApiError::fromAnswer(503, "{}", header).retryAfterMs().value_or(-1), retryAfterMs);
    }
};

QTEST_GUILESS_MAIN(TestKorvaneErrors)
#include "TestKorvaneErrors.moc"
