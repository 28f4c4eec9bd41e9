#include "scan/MacInventoryService.h"
#include "scan/ProfileHelpers.h"

#include "JsonLiteral.h"
#include "SnapshotText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>

using namespace wrenlow;

Q_DECLARE_METATYPE(MacToolOutputs)

namespace {

// The outputs of a scan's tools; what a row leaves out, its tool did not deliver.
MacToolOutputs tools(const QByteArray &profile, std::optional<BatteryTelemetry> telemetry = {},
                     const QString &hardwarePorts = {}, const builders::SecurityToolOutput &security = {})
{
    MacToolOutputs outputs;
    outputs.profile = test::object(profile);
    outputs.batteryTelemetry = telemetry;
    outputs.hardwarePorts = hardwarePorts;
    outputs.security = security;
    return outputs;
}

QByteArray power(const QByteArray &health, const QByteArray &charge = "{}")
{
    return R"({"SPPowerDataType": [{"sppower_battery_health_info": )" + health +
           R"(, "sppower_battery_charge_info": )" + charge + "}]}";
}

const QString composite = "message: \"Overall health is a Wrenlow composite from raw full-charge/design capacity, "
                          "nominal capacity, cycle budget, and Apple condition. Maximum capacity remains Apple's own "
                          "reported percentage.\"";

} // namespace

// The section and diagnostic rules the scenarios of whole scans leave out, on the outputs a scan would read; first
// the readers of the system profile that every section goes through.
class TestScanBuilders : public QObject
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
    void rules_data()
    {
        QTest::addColumn<QString>("keys"); // sections and diagnostics whose lines are compared
        QTest::addColumn<MacToolOutputs>("outputs");
        QTest::addColumn<QStringList>("expected");

        // clang-format off
        QTest::newRow("the usual processor keys win over Intel's") << "processor"
            << tools(R"({"SPHardwareDataType": [{"processor_name": "Core i9", "cpu_type": "8-Core", "processor_speed": "2.4 GHz", "current_processor_speed": "1.2 GHz", "number_cores": 8, "number_processors": 1}]})")
            << QStringList{R"(good Processor = "Core i9")", R"(normal Architecture = "")", R"(normal Reported speed = "2.4 GHz")", R"(normal Physical cores = "8")"};
        QTest::newRow("a core count held as text is ignored") << "processor" << tools(R"({"SPHardwareDataType": [{"number_cores": "8", "number_processors": "proc  12:8:4"}]})")
            << QStringList{R"(good Processor = "Not reported")", R"(normal Architecture = "")", R"(normal CPU cores = "12")"};
        QTest::newRow("a topology of one word") << "processor" << tools(R"({"SPHardwareDataType": [{"number_processors": "proc"}]})")
            << QStringList{R"(good Processor = "Not reported")", R"(normal Architecture = "")", R"(normal Processor topology = "proc")"};
        QTest::newRow("memory modules use their numbers even without rows") << "memory"
            << tools(R"({"SPHardwareDataType": [{"physical_memory": "16 GB"}], "SPMemoryDataType": [{"_items": [{"dimm_speed": " "}, {"dimm_manufacturer": "Micron"}, {"dimm_size": "8 GB", "dimm_part_number": "X1"}]}]})")
            << QStringList{R"(good Installed = "16 GB")", R"(normal Module 2 = "8 GB")", R"(normal Module 2 part = "X1")"};
        QTest::newRow("a removable disk claims its key and its twin's") << "drives"
            << tools(R"({"SPNVMeDataType": [{"_items": [{"bsd_name": "disk4", "device_model": "Card", "removable_media": "YES"}]}],
                         "SPSerialATADataType": [{"_items": [{"bsd_name": "disk4", "device_model": "Card", "size": "64 GB"}, {"bsd_name": "disk5", "device_model": "HDD", "size": "2 TB", "detachable_drive": "yes"},
                                                             {"bsd_name": "disk6", "device_model": "SSD", "size": "1 TB", "smart_status": "FAILING"}]}]})")
            << QStringList{R"(good Disk 1 = "1 TB | SSD")", R"(normal Disk 1 device = "disk6")", R"(warning Disk 1 SMART = "FAILING")"};
        QTest::newRow("an unnamed disk, whose volumes are no disks, SMART in any case") << "drives"
            << tools(R"({"SPNVMeDataType": [{"_name": "Controller", "_items": [{"bsd_name": "disk0", "size": "2 TB", "_name": " ", "smart_status": "smart VERIFIED ok", "volumes": [{"bsd_name": "disk0s1", "size": "1 TB", "_name": "Data"}]}]}]})")
            << QStringList{R"(good Disk 1 = "2 TB | Internal storage 1")", R"(normal Disk 1 device = "disk0")", R"(good Disk 1 SMART = "smart VERIFIED ok")"};
        QTest::newRow("one unverified disk among every SMART entry") << "storage-health"
            << tools(R"({"SPNVMeDataType": [{"smart_status": "Verified", "_items": [{"bsd_name": "disk0", "smart_status": "Failing"}]}], "SPSerialATADataType": [{"_items": [{"device_model": "HDD", "smart_status": "reVERIFIED"}]}]})")
            << QStringList{"Review: One or more storage devices require SMART review. Internal storage: Verified; disk0: Failing; HDD: reVERIFIED"};
        QTest::newRow("graphics core counts and display fallbacks") << "graphics"
            << tools(R"({"SPDisplaysDataType": [{"sppci_cores": 10, "spdisplays_ndrvs": [{"_name": "A", "spdisplays_pixelresolution": "1920 x 1080"}]}, {"sppci_cores": "3O", "spdisplays_ndrvs": [{"_name": "B"}, {}]}, {"sppci_cores": ""}, {"sppci_cores": "-8"}]})")
            << QStringList{R"(good Graphics = "Not reported")", R"(normal Graphics cores = "10")", R"(normal Display = "A | 1920 x 1080")", R"(good Graphics 2 = "Not reported")",
                           R"(normal Display 1 = "B | Resolution not reported")", R"(normal Display 2 = "Display 2 | Resolution not reported")", R"(good Graphics 3 = "Not reported")", R"(good Graphics 4 = "Not reported")"};
        QTest::newRow("a worn battery at 80 % of its cycle budget") << "battery"
            << tools(power(R"({"sppower_battery_health": "Service Recommended", "sppower_battery_health_maximum_capacity": "79%"})", R"({"sppower_battery_is_charging": "TRUE", "sppower_battery_fully_charged": "TRUE"})"), BatteryTelemetry{5000, 3999.5, {}, 800, 1000})
            << QStringList{R"(warning Overall health = "70%")", R"(warning Maximum capacity = "79%")", R"(warning Raw capacity retention = "80.0%")", R"(normal Raw full / design = "4000 / 5000 mAh")",
                           R"(normal Cycle count = "800 / 1000")", R"(good Cycle budget used = "80%")", R"(warning Condition = "Service Recommended")", R"(normal Power state = "Charging")", composite};
        QTest::newRow("exact ties of whole percents go to even, as printf does; only the text TRUE is true") << "battery"
            << tools(power(R"({"sppower_battery_health_maximum_capacity": "80 %"})", R"({"sppower_battery_is_charging": true, "sppower_battery_fully_charged": "TRUE"})"), BatteryTelemetry{{}, {}, {}, 25, 200})
            << QStringList{R"(warning Maximum capacity = "80 %")", R"(normal Cycle count = "25 / 200")", R"(good Cycle budget used = "12%")", R"(warning Condition = "Not reported")", R"(normal Power state = "Fully charged")", composite};
        QTest::newRow("the profile's cycle count against the gauge's design count, condition in lower case") << "battery battery-health"
            << tools(power(R"({"sppower_battery_cycle_count": 900, "sppower_battery_health": "good"})"), BatteryTelemetry{1000, 950, {}, {}, 1000})
            << QStringList{R"(good Overall health = "95%")", R"(good Raw capacity retention = "95.0%")", R"(normal Raw full / design = "950 / 1000 mAh")", R"(normal Cycle count = "900 / 1000")",
                           R"(warning Cycle budget used = "90%")", R"(warning Condition = "good")", R"(normal Power state = "On battery / not charging")", composite,
                           "Review: Wrenlow overall health: 95%. Apple maximum capacity: unknown. Condition: good."};
        QTest::newRow("Wi-Fi fallbacks and link parts") << "network"
            << tools(R"({"SPAirPortDataType": [{"spairport_airport_interfaces": [{"spairport_current_network_information": {"spairport_network_rate": "866"}},
                {"_name": "en1", "spairport_status_information": "Connected", "spairport_wireless_mac_address": "m", "spairport_current_network_information": {"spairport_network_channel": 6, "spairport_network_rate": 866, "spairport_signal_noise": "-60 dBm"}}]}]})")
            << QStringList{R"(normal Wi-Fi = "Wi-Fi | Unknown")", R"(good Wi-Fi = "en1 | Connected")", R"(normal Wi-Fi MAC = "m")", R"(normal Current Wi-Fi link = "6 | 866 Mbps | -60 dBm")"};
        QTest::newRow("kinds of wired port") << "network"
            << tools("{}", {}, "Hardware Port: Thunderbolt Ethernet Slot 1\nDevice: en5\nEthernet Address: 00:11\n\nHardware Port: Bluetooth LAN\nDevice: en6\n\nHardware Port: Thunderbolt Bridge\nDevice: bridge0\n\n"
                               "Hardware Port: iPhone USB\nDevice: en7\n\n Hardware Port: Ethernet 4\nDevice: en4\n\nHardware Port: My VLAN\t \nDevice: \u00a0 vlan0\u3000\nEthernet Address:   \n\n"
                               "Hardware Port: USB 10/100/1000 lan\r\nDevice: en8\r\nEthernet Address: 22")
            << QStringList{R"(normal Thunderbolt Ethernet Slot 1 = "en5 | 00:11")", R"(normal My VLAN = "vlan0")", R"(normal USB 10/100/1000 lan = "en8 | 22")"};
        QTest::newRow("custom SIP, FileVault decrypting, DEP only") << "security mdm-enrollment"
            << tools("{}", {}, {}, {"System Integrity Protection status: unknown (Custom Configuration).\nConfiguration:\n\tKext Signing: ENABLED", "assessments disabled", "Decryption in progress", "Enrolled via DEP: Yes\nMDM enrollment: No"})
            << QStringList{R"(good System Integrity Protection = "Enabled")", R"(warning Gatekeeper = "assessments disabled")", R"(good FileVault = "On")", R"(good MDM Enrollment = "Not enrolled")", R"(warning Automated Device Enrollment = "Enrolled")",
                           "Review: This Mac reports MDM or Automated Device Enrollment. Review ownership and release requirements."};
        // A laptop without a camera; SMART verified in lower case; battery health of exactly 80; of the first audio
        // entry only, a device with input and output.
        QTest::newRow("diagnostics of a laptop") << "camera storage-health battery-health microphone"
            << tools(R"({"SPHardwareDataType": [{"machine_name": "MACBOOK AIR"}], "SPCameraDataType": [{"_name": 7}], "SPNVMeDataType": [{"_items": [{"bsd_name": "disk0", "smart_status": "verified"}]}],
                         "SPPowerDataType": [{"sppower_battery_health_info": {"sppower_battery_health": "Good", "sppower_battery_health_maximum_capacity": 91}}],
                         "SPAudioDataType": [{"_items": [{"_name": "Headset", "coreaudio_device_input": 1, "coreaudio_device_output": 1}, {"_name": "X"}]}, {"_items": [{"_name": "Y", "coreaudio_device_input": 1}]}]})",
                     BatteryTelemetry{1000, 800, {}, {}, {}})
            << QStringList{"Review: No built-in camera was reported.", "Pass: All reported internal storage devices passed SMART verification. disk0: verified",
                           "Pass: Wrenlow overall health: 80%. Apple maximum capacity: 91. Condition: Good.", "Ready: Microphone input detected. Ready for record/playback testing. Headset"};
        // clang-format on
    }

    void rules()
    {
        QFETCH(QString, keys);
        QFETCH(MacToolOutputs, outputs);
        QFETCH(QStringList, expected);
        const InventorySnapshot snapshot = MacInventoryService::build(outputs);
        QStringList lines;
        for (const QString &key : keys.split(' ')) {
            if (const InventorySection *section = snapshot.findSection(key)) {
                lines << test::sectionLines(*section);
                continue;
            }
            const DiagnosticItem *item = snapshot.findDiagnostic(key);
            QVERIFY2(item, qPrintable(key));
            lines << rawValue(item->state) + ": " + item->detail +
                         (item->devices.isEmpty() ? "" : " " + item->devices.join("; "));
        }
        QCOMPARE(lines, expected);
    }

    void percentagesKeepAPointInADecimalCommaLocale()
    {
        // Last: it changes the process locale. A German session's C library writes a decimal comma; where that
        // locale is not installed (most Linux machines; macOS has it), glibc's localedef builds it here.
        QTemporaryDir locales;
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
#ifndef Q_OS_LINUX
            QSKIP("de_DE.UTF-8 is not installed, and only glibc's localedef builds it for a test");
#endif
            QProcess localedef;
            localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
            if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
                QSKIP("localedef cannot build de_DE.UTF-8 here");
            qputenv("LOCPATH", locales.path().toUtf8());
            QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8"));
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(probe, "1,5");

        const auto snapshot = MacInventoryService::build(tools(power("{}"), BatteryTelemetry{6249, 5452, {}, 25, 200}));
        std::setlocale(LC_ALL, "C");
        const InventorySection *battery = snapshot.findSection("battery");
        QCOMPARE(battery->findValue("Raw capacity retention")->value, "87.2%");
        QCOMPARE(battery->findValue("Cycle budget used")->value, "12%");
        QCOMPARE(battery->findValue("Raw full / design")->value, "5452 / 6249 mAh");
    }
};

QTEST_GUILESS_MAIN(TestScanBuilders)
#include "TestScanBuilders.moc"
