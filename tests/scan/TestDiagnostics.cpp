#include "scan/Diagnostics.h"

#include "JsonLiteral.h"

#include <QTest>

using namespace wrenlow;

using Telemetry = std::optional<BatteryTelemetry>;
Q_DECLARE_METATYPE(Telemetry)

// The findings the scenarios of whole scans leave out.
class TestDiagnostics : public QObject
{
    Q_OBJECT

private:
    static DiagnosticItem find(const QList<DiagnosticItem> &items, const QString &id)
    {
        const auto it = std::find_if(items.begin(), items.end(), [&](const DiagnosticItem &i) { return i.id == id; });
        return it == items.end() ? DiagnosticItem{} : *it;
    }

    static QString summary(const DiagnosticItem &item)
    {
        return rawValue(item.state) + ": " + item.detail +
               (item.devices.isEmpty() ? "" : " " + item.devices.join("; "));
    }

private slots:
    void fromTheProfile_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("machineName");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("expected");

        QTest::newRow("a laptop without a camera")
            << QByteArray(R"({"SPCameraDataType": [{"_name": 7}]})") << "MACBOOK AIR"
            << "camera"
            << "Review: No built-in camera was reported.";
        QTest::newRow("a device with input and output, first audio entry only")
            << QByteArray(R"({"SPAudioDataType": [{"_items": [{"_name": "Headset", "coreaudio_device_input": 1,
                "coreaudio_device_output": 1}, {"_name": "X"}]}, {"_items": [{"_name": "Y", "coreaudio_device_input": 1}]}]})")
            << "MacBook"
            << "microphone"
            << "Ready: Microphone input detected. Ready for record/playback testing. Headset";
        QTest::newRow("one unverified disk among every SMART entry")
            << QByteArray(R"({"SPNVMeDataType": [{"smart_status": "Verified",
                "_items": [{"bsd_name": "disk0", "smart_status": "Failing"}]}],
                "SPSerialATADataType": [{"_items": [{"device_model": "HDD", "smart_status": "reVERIFIED"}]}]})")
            << "iMac"
            << "storage-health"
            << "Review: One or more storage devices require SMART review. Internal storage: Verified; disk0: Failing; "
               "HDD: reVERIFIED";
    }

    void fromTheProfile()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QString, machineName);
        QFETCH(QString, id);
        QFETCH(QString, expected);
        const auto items = builders::diagnosticItems(test::object(profile), machineName, nullptr, {}, {});
        QCOMPARE(summary(find(items, id)), expected);
    }

    void fromTheSecurityRows_data()
    {
        QTest::addColumn<QStringList>("values"); // SIP, Gatekeeper, MDM, ADE
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("enrollment");
        QTest::newRow("exact words only")
            << QStringList{"enabled", "Enabled", "Not enrolled", "Not enrolled"} << "Review"
            << "Pass";
        QTest::newRow("DEP only") << QStringList{"Enabled", "Enabled", "Not enrolled", "Enrolled"} << "Pass"
                                  << "Review";
    }

    void fromTheSecurityRows()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, platform);
        QFETCH(QString, enrollment);
        const QStringList labels{"System Integrity Protection", "Gatekeeper", "MDM Enrollment",
                                 "Automated Device Enrollment"};
        QList<InventoryValue> rows;
        for (qsizetype i = 0; i < values.size(); ++i)
            rows.append({labels[i], values[i]});
        const InventorySection security("security", "macOS Security", "lock.shield", rows, std::nullopt);
        const auto items = builders::diagnosticItems({}, "Mac", &security, {}, {});
        QCOMPARE(rawValue(find(items, "mac-security").state), platform);
        QCOMPARE(rawValue(find(items, "mdm-enrollment").state), enrollment);
    }

    void battery_data()
    {
        QTest::addColumn<QByteArray>("health");
        QTest::addColumn<Telemetry>("telemetry"); // design, full, nominal, cycles, design cycles
        QTest::addColumn<QString>("expected");

        QTest::newRow("exactly 80")
            << QByteArray(R"({"sppower_battery_health": "Good", "sppower_battery_health_maximum_capacity": 91})")
            << Telemetry(BatteryTelemetry{1000, 800, {}, {}, {}})
            << "Pass: Wrenlow overall health: 80%. Apple maximum capacity: 91. Condition: Good.";
        QTest::newRow("79") << QByteArray(R"({"sppower_battery_health": "Good"})")
                            << Telemetry(BatteryTelemetry{1000, 790, {}, {}, {}})
                            << "Review: Wrenlow overall health: 79%. Apple maximum capacity: unknown. Condition: Good.";
        QTest::newRow("good in lower case")
            << QByteArray(R"({"sppower_battery_health": "good"})") << Telemetry(BatteryTelemetry{1000, 950, {}, {}, {}})
            << "Review: Wrenlow overall health: 95%. Apple maximum capacity: unknown. "
               "Condition: good.";
        QTest::newRow("no condition caps the figure")
            << QByteArray("{}") << Telemetry(BatteryTelemetry{1000, 950, {}, {}, {}})
            << "Review: Wrenlow overall health: 70%. Apple maximum capacity: "
               "unknown. Condition: Unknown.";
    }

    void battery()
    {
        QFETCH(QByteArray, health);
        QFETCH(Telemetry, telemetry);
        QFETCH(QString, expected);
        const auto profile = test::object(R"({"SPPowerDataType": [{"sppower_battery_health_info": )" + health + "}]}");
        QCOMPARE(summary(find(builders::diagnosticItems(profile, "MacBook", nullptr, telemetry, {}), "battery-health")),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "TestDiagnostics.moc"
