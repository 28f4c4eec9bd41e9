#include "scan/BatterySection.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>

using namespace wrenlow;

using Telemetry = std::optional<BatteryTelemetry>;
Q_DECLARE_METATYPE(Telemetry)

class TestBatterySection : public QObject
{
    Q_OBJECT

private:
    static QJsonObject power(const QByteArray &health, const QByteArray &charge = "{}")
    {
        return test::object(R"({"SPPowerDataType": [{"sppower_battery_health_info": )" + health +
                            R"(, "sppower_battery_charge_info": )" + charge + "}]}");
    }

private slots:
    void rows_data()
    {
        QTest::addColumn<QJsonObject>("profile");
        QTest::addColumn<Telemetry>("telemetry"); // design, full, nominal, cycles, design cycles
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("the worked example")
            << power(R"({"sppower_battery_health": "Good", "sppower_battery_health_maximum_capacity": "91%"})",
                     R"({"sppower_battery_state_of_charge": 76, "sppower_battery_fully_charged": "TRUE"})")
            << Telemetry(BatteryTelemetry{1000, 842, 900, {}, {}})
            << QStringList{R"(good Overall health = "87%")",
                           R"(good Maximum capacity = "91%")",
                           R"(good Raw capacity retention = "84.2%")",
                           R"(normal Raw full / design = "842 / 1000 mAh")",
                           R"(good Condition = "Good")",
                           R"(normal Current charge = "76%")",
                           R"(normal Power state = "Fully charged")"};
        QTest::newRow("worn, 80 % of the cycle budget")
            << power(R"({"sppower_battery_health": "Service Recommended",
                         "sppower_battery_health_maximum_capacity": "79%"})",
                     R"({"sppower_battery_is_charging": "TRUE", "sppower_battery_fully_charged": "TRUE"})")
            << Telemetry(BatteryTelemetry{5000, 3999.5, {}, 800, 1000})
            << QStringList{R"(warning Overall health = "70%")",
                           R"(warning Maximum capacity = "79%")",
                           R"(warning Raw capacity retention = "80.0%")",
                           R"(normal Raw full / design = "4000 / 5000 mAh")",
                           R"(normal Cycle count = "800 / 1000")",
                           R"(good Cycle budget used = "80%")",
                           R"(warning Condition = "Service Recommended")",
                           R"(normal Power state = "Charging")"};
        QTest::newRow("exact ties of whole percents go to even, as printf does")
            << power(R"({"sppower_battery_health_maximum_capacity": "80 %"})",
                     R"({"sppower_battery_is_charging": true})")
            << Telemetry(BatteryTelemetry{{}, {}, {}, 25, 200})
            << QStringList{R"(warning Maximum capacity = "80 %")", R"(normal Cycle count = "25 / 200")",
                           R"(good Cycle budget used = "12%")", R"(warning Condition = "Not reported")",
                           R"(normal Power state = "On battery / not charging")"};
        QTest::newRow("the profile's count against the gauge's design count")
            << power(R"({"sppower_battery_cycle_count": 900, "sppower_battery_health": "good"})")
            << Telemetry(BatteryTelemetry{1000, 950, {}, {}, 1000})
            << QStringList{R"(good Overall health = "95%")",
                           R"(good Raw capacity retention = "95.0%")",
                           R"(normal Raw full / design = "950 / 1000 mAh")",
                           R"(normal Cycle count = "900 / 1000")",
                           R"(warning Cycle budget used = "90%")",
                           R"(warning Condition = "good")",
                           R"(normal Power state = "On battery / not charging")"};
    }

    void rows()
    {
        QFETCH(QJsonObject, profile);
        QFETCH(Telemetry, telemetry);
        QFETCH(QStringList, expected);
        QStringList lines = test::sectionLines(builders::batterySection(profile, telemetry));
        QVERIFY(lines.takeLast().startsWith("message: \"Overall health is a Wrenlow composite"));
        QCOMPARE(lines, expected);
    }

    void percentagesKeepAPointInADecimalCommaLocale()
    {
        // A German session's C library writes a decimal comma; build that locale here, where none is installed.
        QTemporaryDir locales;
        QProcess localedef;
        localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
        if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
            QSKIP("localedef cannot build de_DE.UTF-8 here");
        qputenv("LOCPATH", locales.path().toUtf8());
        QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(probe, "1,5");

        const auto section = builders::batterySection(power("{}"), BatteryTelemetry{6249, 5452, {}, 25, 200});
        std::setlocale(LC_ALL, "C");
        QCOMPARE(section.findValue("Raw capacity retention")->value, "87.2%");
        QCOMPARE(section.findValue("Cycle budget used")->value, "12%");
        QCOMPARE(section.findValue("Raw full / design")->value, "5452 / 6249 mAh");
    }
};

QTEST_GUILESS_MAIN(TestBatterySection)
#include "TestBatterySection.moc"
