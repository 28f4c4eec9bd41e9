// The broker's answers read into records, and its error envelopes.
#include "backend/KorvaneErrors.h"
#include "backend/KorvaneRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;

class TestKorvaneRecords : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("read"); // the user's display name, the lots and categories, or why it was refused
        const QString signIn = R"({"access_token": "T", "token_type": "bearer", "expires_at": "E", )";
        const QString user = signIn + R"("user": {"user_id": 1, "username": " tech 1 ", )";
        const QString refused = "The data could not be read: ";
        // clang-format off
        QTest::newRow("first and last") << user + R"("first_name": "Ada", "last_name": "Lovelace"}})" << "Ada Lovelace";
        QTest::newRow("blank first, no last") << user + R"("first_name": " \t"}})" << " tech 1 ";
        QTest::newRow("inner spaces stay") << user + R"("first_name": " Mary  Ann ", "last_name": null}})" << "Mary  Ann";
        QTest::newRow("sign-in without expires_at") << R"({"access_token": "T", "token_type": "b", "user": {"user_id": 7, "username": "u"}})" << refused + "“expires_at” is missing.";
        QTest::newRow("user_id as text") << signIn + R"("user": {"user_id": "7", "username": "u"}})" << refused + "“user_id” is not an integer.";
        QTest::newRow("role that is not a text") << user + R"("roles": [1]}})" << refused + "“roles” holds an element that is not a text.";
        QTest::newRow("lot without the duplicate flag") << R"({"lots": [{"lot_id": 1, "name": "A"}], "unit_categories": []})" << refused + "“allow_duplicate_match_unit_assumption” is missing.";
        QTest::newRow("lots and categories in the broker's order, absent parent left out") << R"({"lots": [{"lot_id": 9, "name": "B", "parent_lot_id": null, "allow_duplicate_match_unit_assumption": false},
            {"lot_id": 3, "name": "A", "parent_lot_id": 9, "allow_duplicate_match_unit_assumption": true}], "unit_categories": [{"config_value_id": 5, "label": "Laptop"}, {"config_value_id": 2, "label": "Desktop"}]})"
            << R"([{"allow_duplicate_match_unit_assumption":false,"lot_id":9,"name":"B"},{"allow_duplicate_match_unit_assumption":true,"lot_id":3,"name":"A","parent_lot_id":9},{"config_value_id":5,"label":"Laptop"},{"config_value_id":2,"label":"Desktop"}])";
        // clang-format on
    }

    void decoding()
    {
        QFETCH(QString, json);
        const QJsonObject answer = QJsonDocument::fromJson(json.toUtf8()).object();
        QString read;
        try {
            if (json.contains("\"lots\"")) {
                const KorvaneCreationOptions options = KorvaneCreationOptions::fromJson(answer);
                QJsonArray all;
                for (const KorvaneLot &lot : options.lots)
                    all.append(lot.toJson());
                for (const KorvaneUnitCategory &category : options.unitCategories)
                    all.append(category.toJson());
                read = QJsonDocument(all).toJson(QJsonDocument::Compact);
            } else {
                read = KorvaneLoginResponse::fromJson(answer).user.displayName();
            }
        } catch (const PlatformError &error) {
            read = error.description();
        }
        QTEST(read, "read");
    }

    void errorEnvelope_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("retryAfter");
        QTest::addColumn<QString>("error"); // code ("-" for none) | message | retryable | wait (-1 for none)
        const QString http429 = "- | Wrenlow backend returned HTTP 429. | ";
        const QString http503 = "- | Wrenlow backend returned HTTP 503. | retry | ";
        // clang-format off
        QTest::newRow("nested") << 403 << R"({"error": {"code": "denied", "message": "No access"}})" << "2" << "denied | No access | final | 2000";
        QTest::newRow("nested code, root message") << 400 << R"({"error": {"code": "c1"}, "message": "Top"})" << "2" << "c1 | Top | final | 2000";
        QTest::newRow("root code unread beside a nested envelope") << 400 << R"({"error": {"message": "M"}, "code": "c"})" << "2" << "- | M | final | 2000";
        QTest::newRow("error as a text: the root is the envelope") << 400 << R"({"error": "boom", "code": "c3"})" << "2" << "c3 | Wrenlow backend returned HTTP 400. | final | 2000";
        QTest::newRow("HTML 503") << 503 << "<html>Bad gateway</html>" << "2" << http503 + "2000";
        QTest::newRow("429 told not retryable") << 429 << R"({"retryable": false})" << "2" << http429 + "final | 2000";
        QTest::newRow("whole wait wins over the header") << 429 << R"({"error": {"retryAfterMs": 1500}})" << "2" << http429 + "retry | 1500";
        QTest::newRow("fractional nested wait, whole root wait") << 429 << R"({"error": {"retryAfterMs": 1500.5}, "retryAfterMs": 700})" << "2" << http429 + "retry | 700";
        QTest::newRow("fractional wait: the header") << 429 << R"({"retryAfterMs": 1500.5})" << "2" << http429 + "retry | 2000";
        QTest::newRow("header -3") << 503 << "{}" << "-3" << http503 + "0";
        // The whole header as C's strtod reads it in the C locale.
        QTest::newRow("header not a number reads as 0") << 503 << "{}" << "nan" << http503 + "0";
        QTest::newRow("header NaN") << 503 << "{}" << "NaN" << http503 + "0";
        QTest::newRow("header -nan") << 503 << "{}" << "-nan" << http503 + "0";
        QTest::newRow("header hexadecimal") << 503 << "{}" << "0x10" << http503 + "16000";
        QTest::newRow("header exponent") << 503 << "{}" << "1e1" << http503 + "10000";
        QTest::newRow("header fraction") << 503 << "{}" << "0.25" << http503 + "250";
        QTest::newRow("header with a leading blank") << 503 << "{}" << " 2" << http503 + "-1";
        QTest::newRow("header with a trailing blank") << 503 << "{}" << "2 " << http503 + "-1";
        QTest::newRow("header infinite") << 503 << "{}" << "inf" << http503 + "-1";
        QTest::newRow("header HTTP date") << 503 << "{}" << "Wed, 21 Oct 2015 07:28:00 GMT" << http503 + "-1";
        QTest::newRow("header fits 64 bits") << 503 << "{}" << "9e15" << http503 + "9000000000000000000";
        QTest::newRow("header beyond 64 bits") << 503 << "{}" << "9.3e15" << http503 + "-1";
        // clang-format on
    }

    void errorEnvelope()
    {
        QFETCH(int, status);
        QFETCH(QString, body);
        QFETCH(QString, retryAfter);
        const KorvaneApiError read = KorvaneApiError::fromAnswer(status, body.toUtf8(), retryAfter.toUtf8());
        QTEST(QStringList({read.code().value_or("-"), read.description(), read.retryable() ? "retry" : "final",
                           QString::number(read.retryAfterMs().value_or(-1))})
                  .join(" | "),
              "error");
    }
};

QTEST_GUILESS_MAIN(TestKorvaneRecords)
#include "TestKorvaneRecords.moc"
