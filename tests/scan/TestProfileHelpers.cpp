#include "scan/ProfileHelpers.h"

#include "JsonLiteral.h"

#include <QTest>

using namespace wrenlow;

class TestProfileHelpers : public QObject
{
    Q_OBJECT

private slots:
    // Only an array of dictionaries has a first entry.
    void first()
    {
        QCOMPARE(profile::first(test::object(R"({"T": [{"k": "a"}, {"k": "b"}]})"), "T").value(u"k"), "a");
        QVERIFY(profile::first(test::object(R"({"T": {"k": "a"}})"), "T").isEmpty());
        QVERIFY(profile::first(test::object(R"({"T": [{"k": "a"}, 1]})"), "T").isEmpty());
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("dictionary");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blank first key, number second") << QByteArray(R"({"a": "  ", "b": 8})") << "8";
        QTest::newRow("humanized, untrimmed") << QByteArray(R"({"a": "spairport_status_connected"})") << "Connected";
        QTest::newRow("untrimmed text") << QByteArray(R"({"a": " M2 "})") << " M2 ";
        QTest::newRow("true is 1") << QByteArray(R"({"a": true})") << "1";
        QTest::newRow("fraction") << QByteArray(R"({"a": 2.5})") << "2.5";
        QTest::newRow("integral real") << QByteArray(R"({"a": 16.0})") << "16";
        QTest::newRow("array skipped") << QByteArray(R"({"a": ["x"], "b": "y"})") << "y";
        QTest::newRow("nothing usable") << QByteArray(R"({"a": null, "b": ""})") << "fallback";
    }

    void text()
    {
        QFETCH(QByteArray, dictionary);
        QFETCH(QString, expected);
        QCOMPARE(profile::text(test::object(dictionary), {"a", "b"}, "fallback"), expected);
    }

    void textOptionalAndIntText()
    {
        const QJsonObject d = test::object(R"({"blanks": "   ", "empty": "", "code": "spdisplays_on", "n": 10,
                                        "s": "10", "list": [1], "yes": true})");
        QCOMPARE(profile::textOptional(d, "blanks"), "   ");
        QCOMPARE(profile::textOptional(d, "empty"), std::nullopt);
        QCOMPARE(profile::textOptional(d, "code"), "On");
        QCOMPARE(profile::humanize("sppci_vendor_apple"), "sppci_vendor_apple"); // codes match exactly
        QCOMPARE(profile::textOptional(d, "n"), "10");
        QCOMPARE(profile::textOptional(d, "list"), std::nullopt);

        QCOMPARE(profile::intText(d, "n", " cores"), "10 cores");
        QCOMPARE(profile::intText(d, "s", " cores"), std::nullopt);
        QCOMPARE(profile::intText(d, "yes", "%"), "1%");
    }

    void recursiveDictionariesArePreOrder()
    {
        const QJsonObject value = test::object(R"({"a": [{"n": 1, "items": [{"n": 2}, {"n": 3}]},
            {"n": 4, "items": [{"n": 5}, {"n": 6, "deeper": {"n": 7}}]}, "text", 8]})");
        QList<int> order;
        for (const QJsonObject &dictionary : profile::recursiveDictionaries(value.value("a")))
            order << dictionary.value(u"n").toInt();
        QCOMPARE(order, (QList<int>{1, 2, 3, 4, 5, 6, 7}));
        QVERIFY(profile::recursiveDictionaries(QJsonValue("x")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProfileHelpers)
#include "TestProfileHelpers.moc"
