#include "scan/PropertyList.h"

#include "common/UtcTime.h"
#include "common/WrenlowError.h"

#include <QDateTime>
#include <QTest>

using namespace wrenlow;

namespace {

QByteArray plist(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QVariant>("expected"); // its type too, at the top

        const quint64 unsignedMax = std::numeric_limits<quint64>::max();
        QVariant nested = QVariantList();
        for (int depth = 1; depth < 100; ++depth)
            nested = QVariantList{nested};
        // clang-format off
        QTest::newRow("integer") << QByteArray("<integer>-465</integer>") << QVariant(qint64(-465));
        QTest::newRow("signed minimum") << QByteArray("<integer>-9223372036854775808</integer>") << QVariant::fromValue(std::numeric_limits<qint64>::min());
        QTest::newRow("just above signed") << QByteArray("<integer>9223372036854775808</integer>") << QVariant::fromValue(quint64(9223372036854775808ULL));
        QTest::newRow("unsigned maximum") << QByteArray("<integer>18446744073709551615</integer>") << QVariant::fromValue(unsignedMax);
        QTest::newRow("real") << QByteArray("<real>87.5</real>") << QVariant(87.5);
        QTest::newRow("true and false") << QByteArray("<array><true/><false/></array>") << QVariant(QVariantList{true, false});
        QTest::newRow("data") << QByteArray("<data>AAEC/w==</data>") << QVariant(QByteArray("\x00\x01\x02\xff", 4));
        QTest::newRow("date") << QByteArray("<date>2023-05-01T12:30:00Z</date>") << QVariant(QDateTime(QDate(2023, 5, 1), QTime(12, 30), utc));
        QTest::newRow("entities") << QByteArray("<string>F8Y1234 &amp; caf&#233;</string>") << QVariant(QString("F8Y1234 & café"));
        // The shape `ioreg -r -c AppleSmartBattery -a` prints: an array holding the registry entry.
        QTest::newRow("ioreg's shape, empties kept") << QByteArray(R"(<array><dict><key>Empty</key><array/><key>None</key><dict/>
            <key>Blank</key><string></string><key>Lifetime</key><array><integer>1</integer><integer>18446744073709551615</integer></array></dict></array>)")
            << QVariant(QVariantList{QVariantMap{{"Empty", QVariantList()}, {"None", QVariantMap()}, {"Blank", QString()}, {"Lifetime", QVariantList{1LL, unsignedMax}}}});
        QTest::newRow("moderate nesting") << QByteArray("<array>").repeated(100) + QByteArray("</array>").repeated(100) << nested;
        // clang-format on
    }

    void values()
    {
        QFETCH(QByteArray, body);
        QFETCH(QVariant, expected);
        const QVariant value = PropertyList::parse(plist(body));
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }

    void rejectsBrokenDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not XML") << QByteArray("Amperage = -465");
        QTest::newRow("JSON") << QByteArray(R"({"Amperage": -465})");
        QTest::newRow("OpenStep") << QByteArray("{ Amperage = -465; }");
        QTest::newRow("truncated")
            << plist("<array><dict><key>Amperage</key><integer>-465</integer></dict></array>").chopped(20);
        QTest::newRow("binary garbage") << QByteArray("bplist00\xff\xff\xff\xff\xff\xff\xff\xff", 16);
        QTest::newRow("nested too deeply")
            << plist(QByteArray("<array>").repeated(100000) + QByteArray("</array>").repeated(100000));
    }

    void rejectsBrokenDocuments()
    {
        QFETCH(QByteArray, document);
        QVERIFY_THROWS_EXCEPTION(PlatformError, PropertyList::parse(document));
    }

    void textsMayHoldANul()
    {
        // A NUL inside a text once aborted the process inside the library; refusing the document is as good.
        const QByteArray document = plist(QByteArray("<array><string>a\0b</string><key>k</key></array>", 44));
        try {
            QCOMPARE(PropertyList::parse(document).toList().value(0).toString(), QString::fromUtf8("a\0b", 3));
        } catch (const PlatformError &) {
        }
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "TestPropertyList.moc"
