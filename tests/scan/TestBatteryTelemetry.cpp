#include "scan/BatteryTelemetry.h"
#include "scan/PropertyList.h"

#include "common/UtcTime.h"
#include "common/WrenlowError.h"

#include <QDateTime>
#include <QTest>

#include <tuple>

using namespace wrenlow;

using Telemetry = BatteryTelemetry;
Q_DECLARE_METATYPE(Telemetry)

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

// The battery's registry entry: the property-list reader that ioreg's answer goes through, hostile documents
// included, then the telemetry read from it and the composite health worked out of that.
class TestBatteryTelemetry : public QObject
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
    void composite_data()
    {
        QTest::addColumn<Telemetry>("telemetry");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("expected"); // -1: no composite

        // design, full, nominal, cycles, design cycles
        QTest::newRow("weighted: 84.2 and 90 make 86.52") << Telemetry{1000, 842, 900, {}, {}} << "Good" << 87;
        QTest::newRow("no design capacity") << Telemetry{0, 842, 900, {}, {}} << "Good" << -1;
        QTest::newRow("80 % of the cycles: no penalty") << Telemetry{1000, 950, {}, 800, 1000} << "Good" << 95;
        QTest::newRow("105 %: 6 points") << Telemetry{1000, 950, {}, 1050, 1000} << "Good" << 89;
        QTest::newRow("200 %: at most 12 points") << Telemetry{1000, 950, {}, 2000, 1000} << "Good" << 83;
        QTest::newRow("poor condition caps at 70") << Telemetry{1000, 950, {}, {}, {}} << "Service Recommended" << 70;
        QTest::newRow("clamped to 100") << Telemetry{1000, 1200, 1100, {}, {}} << "Good" << 100;
        QTest::newRow("clamped to 0") << Telemetry{1000, -50, {}, {}, {}} << "Good" << 0;
        QTest::newRow("half rounds away from zero") << Telemetry{8, 5, {}, {}, {}} << "Good" << 63; // 62.5
        QTest::newRow("huge figures") << Telemetry{1e-300, 1e300, 1e300, {}, {}} << "Good" << -1;
    }

    void composite()
    {
        QFETCH(Telemetry, telemetry);
        QFETCH(QString, condition);
        QTEST(telemetry.overallHealthPercent(condition).value_or(-1), "expected");
    }

    void fromRegistry_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<Telemetry>("expected"); // the failures of whole documents are the scan's scenarios

        // clang-format off
        QTest::newRow("gauge figures before the older keys") << plist(R"(<array><dict><key>CycleCount</key><integer>212</integer><key>AppleRawMaxCapacity</key><integer>7</integer>
            <key>DesignCapacity</key><integer>8</integer><key>DesignCycleCount9C</key><integer>1000</integer><key>Amperage</key><integer>-1144</integer><key>BatteryData</key><dict>
            <key>CycleCount</key><integer>9</integer><key>DesignCapacity</key><integer>6249</integer><key>FullChargeCapacity</key><real>5452.5</real><key>NominalChargeCapacity</key><true/></dict></dict><dict/></array>)")
            << Telemetry{6249, 5452.5, 1, 212, 1000};
        QTest::newRow("cycles from the battery data, text never parsed") << plist(R"(<array><dict><key>CycleCount</key><string>212</string><key>DesignCycleCount9C</key><real>999.9</real>
            <key>BatteryData</key><dict><key>CycleCount</key><integer>9</integer><key>DesignCapacity</key><string>6249</string></dict></dict></array>)") << Telemetry{{}, {}, {}, 9, 999};
        QTest::newRow("out-of-range counts are missing") << plist(R"(<array><dict><key>CycleCount</key><integer>18446744073709551615</integer>
            <key>DesignCycleCount9C</key><real>1e300</real><key>BatteryData</key><array/></dict></array>)") << Telemetry{};
        // clang-format on
    }

    void fromRegistry()
    {
        QFETCH(QByteArray, output);
        QFETCH(Telemetry, expected);
        const auto telemetry = BatteryTelemetry::fromRegistry({QString::fromUtf8(output), "", 0});
        QVERIFY(telemetry);
        const auto figures = [](const Telemetry &t) {
            return std::tuple(t.designCapacity, t.fullChargeCapacity, t.nominalChargeCapacity, t.cycleCount,
                              t.designCycleCount);
        };
        QVERIFY(figures(*telemetry) == figures(expected));
        QVERIFY(!BatteryTelemetry::fromRegistry({QString::fromUtf8(output), "", 1})); // the query failed
        QVERIFY(!BatteryTelemetry::fromRegistry(
            {QString::fromUtf8(plist("<array><dict/><string>x</string></array>")), "", 0}));
    }
};

QTEST_GUILESS_MAIN(TestBatteryTelemetry)
#include "TestBatteryTelemetry.moc"
