#include "scan/BatteryTelemetry.h"

#include <QTest>

using namespace wrenlow;

using Telemetry = BatteryTelemetry;
Q_DECLARE_METATYPE(Telemetry)

class TestBatteryTelemetry : public QObject
{
    Q_OBJECT

private:
    static QString plist(const QString &body)
    {
        return R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">)" + body + "</plist>";
    }

private slots:
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
        QTest::addColumn<QString>("output");
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
        QFETCH(QString, output);
        QFETCH(Telemetry, expected);
        const auto telemetry = BatteryTelemetry::fromRegistry({output, "", 0});
        QVERIFY(telemetry);
        const auto figures = [](const Telemetry &t) {
            return std::tuple(t.designCapacity, t.fullChargeCapacity, t.nominalChargeCapacity, t.cycleCount,
                              t.designCycleCount);
        };
        QVERIFY(figures(*telemetry) == figures(expected));
        QVERIFY(!BatteryTelemetry::fromRegistry({output, "", 1})); // the query failed
        QVERIFY(!BatteryTelemetry::fromRegistry({plist("<array><dict/><string>x</string></array>"), "", 0}));
    }
};

QTEST_GUILESS_MAIN(TestBatteryTelemetry)
#include "TestBatteryTelemetry.moc"
