#include "ReportTestSupport.h"

#include "report/MacCanonicalInventoryBuilder.h"

using namespace wrenlow;
using reporttest::json;

// The canonical report: whole snapshots of the shapes the scan writes, block by block against reports written out
// by hand; then its reading rules one at a time: lookups, trimming, numbers in row texts, the row filters of each
// block and the report's own verdict; last the resolve and commit bodies, the whole report plus routing keys beside
// its blocks.
class TestCanonicalRules : public QObject
{
    Q_OBJECT

    static InventorySnapshot unit(const QString &serial)
    {
        return reporttest::snapshotWith("identity", {"Serial number", serial, "System UUID", " 0A1B2C3D-UUID "});
    }

private slots:
    void fixtureBlocks_data()
    {
        QTest::addColumn<QJsonValue>("actual");
        QTest::addColumn<QJsonValue>("expected");
        for (const char *name : {"macbook-apple-silicon", "intel-desktop", "not-reported", "empty"}) {
            const QJsonObject actual = MacCanonicalInventoryBuilder::build(reporttest::fixture(name));
            QJsonObject expected = reporttest::fixtureObject(QString(name) + ".canonical.json");
            // Test programs run without an application bundle, so no version is stated.
            expected.insert("tool_version", "0.1.0");
            QStringList keys = actual.keys() + expected.keys();
            keys.removeDuplicates();
            for (const QString &key : keys)
                QTest::addRow("%s/%s", name, qPrintable(key)) << actual.value(key) << expected.value(key);
        }
    }

    void fixtureBlocks()
    {
        QFETCH(QJsonValue, actual);
        QFETCH(QJsonValue, expected);
        COMPARE_JSON(actual, expected);
    }

    void rules_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("rows"); // label, value, label, value...
        QTest::addColumn<QString>("path");     // a key of the report, then keys or indexes inside it
        QTest::addColumn<QString>("expected"); // JSON text; empty when the key must be absent
        QTest::addColumn<QString>("architecture");
        QTest::addColumn<QString>("model");
        const auto add = [](const char *name, const QString &section, const QStringList &rows, const QString &path,
                            const QString &expected, const QString &architecture = "x86_64",
                            const QString &model = "Mac mini") {
            QTest::newRow(name) << section << rows << path << expected << architecture << model;
        };
        // clang-format off
        const QString air = R"({"state": "known", "value": "MacBook Air"})";
        add("label in any case, value trimmed", "identity", {"model", " \n MacBook Air \t"}, "fields/unit_model", air);
        add("a figure not worked out is left out", "identity", {"Model", " cannot CALCULATE"}, "fields/unit_model", "");
        add("no sign, no thousands", "battery", {"Maximum capacity", "91%", "Overall health", "-1,024"}, "battery/health_percent", "1");
        add("second point ends the number", "battery", {"Maximum capacity", "91%", "Overall health", "1.5.2"}, "battery/health_percent", "1.5");
        add("not reported falls back", "battery", {"Maximum capacity", "91%", "Overall health", " not reported "}, "battery/health_percent", "91");
        add("cycles truncated toward zero", "battery", {"Cycle count", "45.9"}, "battery/cycle_count", "45");
        add("cycles round up to 2^63", "battery", {"Cycle count", "9223372036854775807"}, "battery/cycle_count", "");
        add("arm64 test is exact", "memory", {"Installed", "16 GB"}, "memory", R"({"state": "known", "total_gb": 16})", "ARM64");
        add("module rows filtered", "memory", {"Installed", "16 GB", "module 1", "8 GB", "Module 2", "DIMM3", "Module 3", "Empty", "Module 4 Part", "8 GB", "Module 5 speed", "2400 MHz", "Module 6", " 4 GB", "Module 6 manufacturer", "0x80"},
            "memory/modules", R"([{"slot": "Module 2", "size_gb": 3, "install_type": "unknown"}, {"slot": "Module 4 Part", "size_gb": 8, "install_type": "unknown"}, {"slot": "Module 6", "size_gb": 4, "install_type": "unknown"}])");
        add("disk sizes and names", "drives", {"Disk 1", "1.5 tb\t| Generic ssd ", "Disk 2", "512 MB |  \t ", "Disk 2 device", "disk2", "Disk 3", "Not reported | APPLE SSD X", "Disk 3 serial", "not reported", "Disk 3 firmware", " 9.1 "},
            "storage/devices", R"([{"slot": "Disk 1", "install_type": "unknown", "size_gb": 1500, "interface": "Internal", "model": "Generic ssd", "media_type": "SSD"},
                                   {"slot": "Disk 2", "install_type": "unknown", "size_gb": 512, "interface": "Internal"},
                                   {"slot": "Disk 3", "install_type": "unknown", "interface": "Internal", "model": "APPLE SSD X", "firmware": "9.1", "media_type": "SSD", "storage_type": "Apple SSD"}])");
        add("terabytes beyond a double", "drives", {"Disk 1", QString(306, '9') + " TB"}, "storage/devices/0", R"({"slot": "Disk 1", "install_type": "unknown", "interface": "Internal"})");
        add("adapters: first wi-fi only, words in port names", "network", {"Wi-Fi", " en0 | Connected ", "Wi-Fi", "en1 | Off", "Ethernet (LinkPro)", "en5", "MACsec LAN", "en6", "Dual Modes Dock", "en8", "wi-fi", "en9"}, "connectivity",
            R"({"state": "known", "wifi": {"state": "known", "present": true, "interface": " en0 | Connected ", "capabilities": "", "current_link": ""}, "ethernet": {"state": "known", "adapters": [{"name": "wi-fi", "value": "en9"}]}})");
        const auto vendor = [&](const char *name, const QString &model, const char *expected, const QString &architecture = "x86_64") {
            add(name, "graphics", {"Graphics", model, "Graphics 2 cores", "8"}, "graphics/adapters/0/vendor", expected, architecture);
        };
        vendor("geforce", "geforce gtx 680", R"("NVIDIA")");
        vendor("apple before intel", "Apple Intel bridge", R"("Apple")");
        vendor("apple silicon", "Intel UHD Graphics 630", R"("Apple")", "arm64");
        add("laptop panel is the first display", "graphics", {"Display", "|||", "Display 2", "Studio Display", "Display 3", " | 5120 x 2880 @ 60 Hz | third"}, "display",
            R"({"state": "known", "touchscreen": {"detected": false}, "monitors": [{"name": "Studio Display"}, {"name": "", "native_resolution": "5120 x 2880 @ 60 Hz", "refresh_rate_hz": 60}],
                "built_in_panel": {"name": "Studio Display", "built_in": true}})", "arm64", "macbook air");
        add("fractional rate, no blanks", "graphics", {"Display", "Panel | 1920 x 1080@59.94Hz"}, "display/monitors/0/refresh_rate_hz", "59.94");
        add("rate needs Hz in that case", "graphics", {"Display", "Panel | 1920 x 1080 @ 60 hz"}, "display/monitors/0/refresh_rate_hz", "");
        // clang-format on
    }

    void rules()
    {
        QFETCH(QString, section);
        QFETCH(QStringList, rows);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QFETCH(QString, architecture);
        QFETCH(QString, model);
        QJsonValue value =
            MacCanonicalInventoryBuilder::build(reporttest::snapshotWith(section, rows, architecture, model));
        for (const QString &step : path.split('/'))
            value = value.isArray() ? value.toArray().at(step.toInt()) : value.toObject().value(step);
        COMPARE_JSON(value, json(expected));
    }

    void diagnostics_data()
    {
        QTest::addColumn<QStringList>("states"); // id, state, id, state...
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("review leaves the result open") << QStringList{"sound", "Review", "keyboard", "Pass"}
            << R"({"state": "known", "override_used": false, "items": [{"key": "keyboard", "state": "pass"}]})";
        QTest::newRow("ids are exact, a failure outside the five decides") << QStringList{"Keyboard", "Pass", "fingerprint", "Pass", "sound", "Fail", "mac-security", "Fail"}
            << R"({"state": "known", "override_used": false, "unit_result": "fail", "items": [{"key": "fingerprint", "state": "pass"}, {"key": "sound", "state": "fail"}]})";
        QTest::newRow("passes beside not applicable") << QStringList{"camera", "Pass", "keyboard", "N/A", "system-health", "Pass"}
            << R"({"state": "known", "override_used": false, "unit_result": "pass", "items": [{"key": "camera", "state": "pass"}]})";
        // clang-format on
    }

    void diagnostics()
    {
        QFETCH(QStringList, states);
        QFETCH(QString, expected);
        InventorySnapshot snapshot;
        for (qsizetype i = 0; i + 1 < states.size(); i += 2)
            snapshot.diagnostics.append(
                {states.at(i), states.at(i), *diagnosticStateFromRaw(states.at(i + 1)), "", "questionmark", {}});
        COMPARE_JSON(MacCanonicalInventoryBuilder::build(snapshot).value("diagnostics"), json(expected));
    }

    void presenceIgnoresStateAndOverrideIsPassedOn()
    {
        InventorySnapshot snapshot;
        snapshot.diagnostics = {{"camera", "Camera", DiagnosticState::Pass, "", "camera", {}},
                                {"fingerprint", "Touch ID", DiagnosticState::Fail, "", "touchid", {"Sensor A", "B"}}};
        const QJsonObject report = MacCanonicalInventoryBuilder::build(snapshot, true);
        COMPARE_JSON((QJsonArray{report.value("camera_hardware"), report.value("fingerprint_hardware"),
                                 report.value("diagnostics").toObject().value("override_used")}),
                     json(R"([null, {"state": "known", "present": true, "devices": ["Sensor A", "B"]}, true])"));
    }

    // The resolve and commit bodies: every key of the unit's report unchanged, and beside them exactly the routing
    // keys of the row.
    void bodies_data()
    {
        QTest::addColumn<QJsonObject>("body");
        QTest::addColumn<QJsonObject>("report");
        QTest::addColumn<QString>("expected");
        using Builder = MacCanonicalInventoryBuilder;
        const InventorySnapshot full = unit("C02DK1ABPN7J"), unreported = unit("not reported"), c02 = unit("C02");
        const QUuid submission("{5F1C2A3B-9D8E-4F70-A1B2-C3D4E5F60718}");
        const QString common =
            R"({"lot_id": 7, "unit_serial_number": "C02", "bios_serial_number": "C02", "system_uuid": "0A1B2C3D-UUID", )";
        const QString commit =
            common + R"("submission_id": "5f1c2a3b-9d8e-4f70-a1b2-c3d4e5f60718", "confirm_duplicate_match_creation": )";
        // clang-format off
        QTest::newRow("resolve: everything given") << Builder::buildResolveBody(full, 7, 3, " AT-0042 \n") << Builder::build(full)
            << R"({"lot_id": 7, "unit_category_config_value_id": 3, "asset_tag": "AT-0042", "unit_serial_number": "C02DK1ABPN7J", "bios_serial_number": "C02DK1ABPN7J", "system_uuid": "0A1B2C3D-UUID"})";
        QTest::newRow("resolve: no category, blank tag, serial not reported") << Builder::buildResolveBody(unreported, 7, std::nullopt, "   ") << Builder::build(unreported) << R"({"lot_id": 7, "system_uuid": "0A1B2C3D-UUID"})";
        QTest::newRow("resolve: a typed tag goes as typed") << Builder::buildResolveBody(c02, 7, std::nullopt, "Not reported") << Builder::build(c02) << common + R"("asset_tag": "Not reported"})";
        QTest::newRow("commit: new unit takes the category") << Builder::buildCommit(c02, 7, 3, " T-1 ", std::nullopt, false, submission) << Builder::build(c02) << commit + R"(false, "unit_category_config_value_id": 3})";
        QTest::newRow("commit: existing unit takes the tag") << Builder::buildCommit(c02, 7, 3, " T-1 ", 991, true, submission) << Builder::build(c02) << commit + R"(true, "unit_id": 991, "asset_tag": "T-1"})";
        // clang-format on
    }

    void bodies()
    {
        QFETCH(QJsonObject, body);
        QFETCH(QJsonObject, report);
        QFETCH(QString, expected);
        for (auto it = report.begin(); it != report.end(); ++it) {
            COMPARE_JSON(body.value(it.key()), it.value());
            body.remove(it.key());
        }
        COMPARE_JSON(QJsonValue(body), json(expected));
    }
};

QTEST_GUILESS_MAIN(TestCanonicalRules)
#include "TestCanonicalRules.moc"
