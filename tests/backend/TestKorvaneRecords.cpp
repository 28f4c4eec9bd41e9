#include "backend/KorvaneRecords.h"

#include "common/WrenlowError.h"

#include <QJsonDocument>
#include <QSet>
#include <QTest>

using namespace wrenlow;

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

const QByteArray signIn = R"({"access_token": "T", "token_type": "bearer", "expires_at": "E", )";

} // namespace

class TestKorvaneRecords : public QObject
{
    Q_OBJECT

private slots:
    void decodingRefusesMissingKeysAndWrongTypes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("failure");
        QTest::newRow("sign-in without expires_at")
            << QByteArray(R"({"access_token": "T", "token_type": "b", "user": {"user_id": 7, "username": "u"}})")
            << "“expires_at” is missing";
        QTest::newRow("user_id as text") << signIn + R"("user": {"user_id": "7", "username": "u"}})"
                                         << "“user_id” is not an integer";
        QTest::newRow("optional first name of the wrong type")
            << signIn + R"("user": {"user_id": 7, "username": "u", "first_name": 3}})"
            << "“first_name” is not a text";
        QTest::newRow("role that is not a text") << signIn + R"("user": {"user_id": 7, "username": "u", "roles": [1]}})"
                                                 << "“roles” holds an element";
        QTest::newRow("tool as text") << signIn + R"("user": {"user_id": 7, "username": "u"}, "tool": "x"})"
                                      << "“tool” is not an object";
        QTest::newRow("options without categories") << QByteArray(R"({"lots": []})") << "“unit_categories” is missing";
        QTest::newRow("lot without the duplicate flag")
            << QByteArray(R"({"lots": [{"lot_id": 1, "name": "A"}], "unit_categories": []})")
            << "“allow_duplicate_match_unit_assumption” is missing";
    }

    void decodingRefusesMissingKeysAndWrongTypes()
    {
        QFETCH(QByteArray, json);
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

    void optionalKeysMayBeAbsentOrNull()
    {
        const KorvaneLoginResponse plain =
            KorvaneLoginResponse::fromJson(object(signIn + R"("user": {"user_id": 7, "username": "u"}})"));
        QCOMPARE(plain.tool.has_value(), false);
        QCOMPARE(plain.user.roles, std::nullopt);
        const KorvaneLoginResponse nulls = KorvaneLoginResponse::fromJson(
            object(signIn + R"("user": {"user_id": 7, "username": "u", "roles": []}, "tool": null, "x": 1})"));
        QCOMPARE(nulls.tool.has_value(), false);
        QCOMPARE(nulls.user.roles, QStringList());
        const KorvaneLoginResponse noSource =
            KorvaneLoginResponse::fromJson(object(signIn + R"("user": {"user_id": 7, "username": "u"},
                                                  "tool": {"source": null}})"));
        QCOMPARE(noSource.tool->source, std::nullopt);
    }

    void displayNameJoinsTrimmedNames_data()
    {
        QTest::addColumn<QByteArray>("names");
        QTest::addColumn<QString>("displayName");
        QTest::newRow("first and last") << QByteArray(R"("first_name": "Ada", "last_name": "Lovelace")")
                                        << "Ada Lovelace";
        QTest::newRow("blank first, no last") << QByteArray(R"("first_name": " \t")") << " tech 1 ";
        QTest::newRow("last alone, trimmed") << QByteArray(R"("last_name": " Lovelace\n")") << "Lovelace";
        QTest::newRow("inner spaces stay")
            << QByteArray(R"("first_name": " Mary  Ann ", "last_name": null)") << "Mary  Ann";
    }

    void displayNameJoinsTrimmedNames()
    {
        QFETCH(QByteArray, names);
        QFETCH(QString, displayName);
        QCOMPARE(
            KorvaneUser::fromJson(object(R"({"user_id": 1, "username": " tech 1 ", )" + names + "}")).displayName(),
            displayName);
    }

    void lotsAndCategoriesKeepOrderAndCompareByValue()
    {
        const KorvaneCreationOptions options = KorvaneCreationOptions::fromJson(object(R"({
            "lots": [{"lot_id": 9, "name": "B", "parent_lot_id": null, "allow_duplicate_match_unit_assumption": false},
                     {"lot_id": 3, "name": "A", "parent_lot_id": 9, "allow_duplicate_match_unit_assumption": true}],
            "unit_categories": [{"config_value_id": 5, "label": "Laptop"}]})"));
        const KorvaneLot first = options.lots.at(0);
        QCOMPARE(options.lots.at(1), (KorvaneLot{3, "A", 9, true}));
        QCOMPARE(first, (KorvaneLot{9, "B", std::nullopt, false}));
        QCOMPARE(options.unitCategories, QList<KorvaneUnitCategory>({{5, "Laptop"}}));

        const KorvaneLot renamed{9, "C", std::nullopt, false};
        const KorvaneLot withParent{9, "B", 0, false}; // an empty parent equals only an empty one
        QCOMPARE(renamed.id(), first.id());
        QCOMPARE(QSet<KorvaneLot>({first, first, renamed, withParent}).size(), 3);
        QVERIFY((KorvaneUnitCategory{5, "Laptop"}) != (KorvaneUnitCategory{5, "Desktop"}));
        QCOMPARE(QJsonDocument(first.toJson()).toJson(QJsonDocument::Compact),
                 R"({"allow_duplicate_match_unit_assumption":false,"lot_id":9,"name":"B"})");
    }
};

QTEST_GUILESS_MAIN(TestKorvaneRecords)
#include "TestKorvaneRecords.moc"
