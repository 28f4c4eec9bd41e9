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

// The shape `ioreg -r -c AppleSmartBattery -a` prints: an array holding the registry entry.
const QByteArray batteryEntry = plist(R"(<array>
<dict>
    <key>Amperage</key><integer>-465</integer>
    <key>BatteryData</key>
    <dict>
        <key>DesignCapacity</key><integer>8579</integer>
        <key>FullChargeCapacity</key><integer>7612</integer>
        <key>Serial</key><string>F8Y1234 &amp; caf&#233;</string>
        <key>Empty</key><array/><key>None</key><dict/><key>Blank</key><string></string>
        <key>StateOfCharge</key><real>87.5</real>
        <key>Lifetime</key><array><integer>1</integer><integer>18446744073709551615</integer></array>
    </dict>
    <key>CycleCount</key><integer>312</integer>
    <key>ExternalConnected</key><true/>
    <key>IsCharging</key><false/>
    <key>BootPathUpdated</key><data>AAEC/w==</data>
    <key>ManufactureDate</key><date>2023-05-01T12:30:00Z</date>
</dict>
</array>)");

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryElementType()
    {
        const QVariant root = PropertyList::parse(batteryEntry);
        QCOMPARE(root.typeId(), QMetaType::QVariantList);
        const QVariantMap entry = root.toList().at(0).toMap();

        QCOMPARE(entry.value("Amperage").typeId(), QMetaType::LongLong);
        QCOMPARE(entry.value("Amperage").toLongLong(), -465);
        QCOMPARE(entry.value("ExternalConnected"), QVariant(true));
        QCOMPARE(entry.value("BootPathUpdated").toByteArray(), QByteArray("\x00\x01\x02\xff", 4));
        QCOMPARE(entry.value("ManufactureDate").toDateTime(), QDateTime(QDate(2023, 5, 1), QTime(12, 30), utc));

        const QVariantMap data = entry.value("BatteryData").toMap();
        QCOMPARE(data.value("Serial").toString(), "F8Y1234 & café");
        QCOMPARE(data.value("Empty"), QVariantList());
        QCOMPARE(data.value("Blank"), QVariant(QString()));
        QCOMPARE(data.value("StateOfCharge").typeId(), QMetaType::Double);
        QCOMPARE(data.value("StateOfCharge").toDouble(), 87.5);
        QCOMPARE(data.value("Lifetime").toList(), (QVariantList{1LL, 18446744073709551615ULL}));
    }

    void integerLimits_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("signed minimum") << QByteArray("-9223372036854775808")
                                        << QVariant::fromValue(std::numeric_limits<qint64>::min());
        QTest::newRow("just above signed")
            << QByteArray("9223372036854775808") << QVariant::fromValue(quint64(9223372036854775808ULL));
        QTest::newRow("unsigned maximum")
            << QByteArray("18446744073709551615") << QVariant::fromValue(std::numeric_limits<quint64>::max());
    }

    void integerLimits()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVariant, expected);
        const QVariant value = PropertyList::parse(plist("<integer>" + text + "</integer>"));
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
        QTest::newRow("truncated") << batteryEntry.left(batteryEntry.size() / 2);
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
        // A NUL inside a text once aborted the process inside the library.
        const QByteArray document = plist(QByteArray("<array><string>a\0b</string><key>k</key></array>", 44));
        try {
            const QVariantList list = PropertyList::parse(document).toList();
            QCOMPARE(list.value(0).toString(), QString::fromUtf8("a\0b", 3));
        } catch (const PlatformError &) {
            // refusing the document is as good
        }
    }

    void acceptsModerateNesting()
    {
        const QByteArray nested = QByteArray("<array>").repeated(100) + QByteArray("</array>").repeated(100);
        QVERIFY(PropertyList::parse(plist(nested)).canConvert<QVariantList>());
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "TestPropertyList.moc"
