#include "backend/KorvaneRecords.h"

#include "common/WrenlowError.h"

#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;

namespace {

QJsonObject object(const QString &json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

const QString signIn = R"({"access_token": "T", "token_type": "bearer", "expires_at": "E", )";

} // namespace

class TestKorvaneRecords : public QObject
{
    Q_OBJECT

private slots:
    void decodingRefusesMissingKeysAndWrongTypes_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("failure");
        QTest::newRow("sign-in without expires_at")
            << R"({"access_token": "T", "token_type": "b", "user": {"user_id": 7, "username": "u"}})"
            << "“expires_at” is missing";
        QTest::newRow("user_id as text") << signIn + R"("user": {"user_id": "7", "username": "u"}})"
                                         << "“user_id” is not an integer";
        QTest::newRow("role that is not a text") << signIn + R"("user": {"user_id": 7, "username": "u", "roles": [1]}})"
                                                 << "“roles” holds an element";
        QTest::newRow("lot without the duplicate flag")
            << R"({"lots": [{"lot_id": 1, "name": "A"}], "unit_categories": []})"
            << "“allow_duplicate_match_unit_assumption” is missing";
    }

    void decodingRefusesMissingKeysAndWrongTypes()
    {
        QFETCH(QString, json);
        QFETCH(QString, failure);
        try {
            if (json.contains("\"lots\""))
                KorvaneCreationOptions::fromJson(object(json));
            else
                KorvaneLoginResponse::fromJson(object(json));
            QFAIL("decoded");
        } catch (const PlatformError &error) {
            QVERIFY2(error.description().contains(failure), qPrintable(error.description()));
        }
    }

    void displayNameJoinsTrimmedNames_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("displayName");
        QTest::newRow("first and last") << R"("first_name": "Ada", "last_name": "Lovelace")"
                                        << "Ada Lovelace";
        QTest::newRow("blank first, no last") << R"("first_name": " \t")"
                                              << " tech 1 ";
        QTest::newRow("inner spaces stay") << R"("first_name": " Mary  Ann ", "last_name": null)"
                                           << "Mary  Ann";
    }

    void displayNameJoinsTrimmedNames()
    {
        QFETCH(QString, names);
        QFETCH(QString, displayName);
        const QString user = R"({"user_id": 1, "username": " tech 1 ", )" + names + "}";
        QCOMPARE(KorvaneUser::fromJson(object(user)).displayName(), displayName);
    }

    void lotsAndCategoriesKeepTheBrokersOrder()
    {
        const KorvaneCreationOptions options = KorvaneCreationOptions::fromJson(object(R"({
            "lots": [{"lot_id": 9, "name": "B", "parent_lot_id": null, "allow_duplicate_match_unit_assumption": false},
                     {"lot_id": 3, "name": "A", "parent_lot_id": 9, "allow_duplicate_match_unit_assumption": true}],
            "unit_categories": [{"config_value_id": 5, "label": "Laptop"}, {"config_value_id": 2, "label": "Desktop"}]})"));
        QCOMPARE(options.lots, (QList<KorvaneLot>{{9, "B", std::nullopt, false}, {3, "A", 9, true}}));
        QCOMPARE(options.unitCategories, (QList<KorvaneUnitCategory>{{5, "Laptop"}, {2, "Desktop"}}));
        // An absent parent is left out, not written as null.
        QCOMPARE(QJsonDocument(options.lots.first().toJson()).toJson(QJsonDocument::Compact),
                 R"({"allow_duplicate_match_unit_assumption":false,"lot_id":9,"name":"B"})");
    }
};

QTEST_GUILESS_MAIN(TestKorvaneRecords)
#include "TestKorvaneRecords.moc"
