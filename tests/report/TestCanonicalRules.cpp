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

    static std::optional<qint64> optionalId(const QVariant &value)
    {
        return value.isValid() ? std::optional<qint64>(value.toLongLong()) : std::nullopt;
    }

    // Every key of the report stands unchanged in the body; the keys beyond it are exactly the row's `expected`.
    static void compareBody(const QJsonObject &body, const InventorySnapshot &snapshot)
    {
        QFETCH(QString, expected);
        QJsonObject added = body;
        const QJsonObject report = MacCanonicalInventoryBuilder::build(snapshot);
        for (auto it = report.begin(); it != report.end(); ++it) {
            COMPARE_JSON(body.value(it.key()), it.value());
            added.remove(it.key());
        }
        COMPARE_JSON(QJsonValue(added), json(expected));
    }

private slots:
    void fixtureBlocks_data()
    {
        QTest::addColumn<QJsonValue>("actual");
        QTest::addColumn<QJsonValue>("expected");
        for (const char *name : {"macbook-apple-silicon", "intel-desktop", "not-reported", "empty"}) {
            const QJsonObject actual = MacCanonicalInventoryBuilder::build(reporttest::fixture(name));
            QJsonObject expected = reporttest::fixtureObject(QString(name) + ".canonical.json");
            expected.insert("tool_version", WRENLOW_VERSION);
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
        const auto health = [&](const char *name, const QString &text, const char *expected) {
            add(name, "battery", {"Maximum capacity", "91%", "Overall health", text}, "battery/health_percent", expected);
        };
        health("no sign, no thousands", "-1,024", "1");
        health("second point ends the number", "1.5.2", "1.5");
        health("not reported falls back", " not reported ", "91");
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
        QVERIFY(!report.contains("camera_hardware"));
        COMPARE_JSON(report.value("fingerprint_hardware"),
                     json(R"({"state": "known", "present": true, "devices": ["Sensor A", "B"]})"));
        COMPARE_JSON(report.value("diagnostics").toObject().value("override_used"), QJsonValue(true));
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QVariant>("category");
        QTest::addColumn<QString>("assetTag");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("everything given") << "C02DK1ABPN7J" << QVariant(qint64(3)) << " AT-0042 \n"
            << R"({"lot_id": 7, "unit_category_config_value_id": 3, "asset_tag": "AT-0042", "unit_serial_number": "C02DK1ABPN7J",
                   "bios_serial_number": "C02DK1ABPN7J", "system_uuid": "0A1B2C3D-UUID"})";
        QTest::newRow("no category, blank tag, serial not reported") << "not reported" << QVariant() << "   " << R"({"lot_id": 7, "system_uuid": "0A1B2C3D-UUID"})";
        QTest::newRow("a typed tag goes as typed") << "C02" << QVariant() << "Not reported"
            << R"({"lot_id": 7, "asset_tag": "Not reported", "unit_serial_number": "C02", "bios_serial_number": "C02", "system_uuid": "0A1B2C3D-UUID"})";
        // clang-format on
    }

    void resolve()
    {
        QFETCH(QString, serial);
        QFETCH(QVariant, category);
        QFETCH(QString, assetTag);
        const InventorySnapshot snapshot = unit(serial);
        compareBody(MacCanonicalInventoryBuilder::buildResolveBody(snapshot, 7, optionalId(category), assetTag),
                    snapshot);
    }

    void commit_data()
    {
        QTest::addColumn<QVariant>("unitId");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("expected");
        const QString common =
            R"("submission_id": "5f1c2a3b-9d8e-4f70-a1b2-c3d4e5f60718", "lot_id": 7, "unit_serial_number": "C02",
                                  "bios_serial_number": "C02", "system_uuid": "0A1B2C3D-UUID")";
        // clang-format off
        QTest::newRow("new unit takes the category") << QVariant() << false
            << "{" + common + R"(, "unit_category_config_value_id": 3, "confirm_duplicate_match_creation": false})";
        QTest::newRow("existing unit takes the tag") << QVariant(qint64(991)) << true
            << "{" + common + R"(, "confirm_duplicate_match_creation": true, "unit_id": 991, "asset_tag": "T-1"})";
        // clang-format on
    }

    void commit()
    {
        QFETCH(QVariant, unitId);
        QFETCH(bool, confirm);
        const InventorySnapshot snapshot = unit("C02");
        compareBody(MacCanonicalInventoryBuilder::buildCommit(snapshot, 7, 3, " T-1 ", optionalId(unitId), confirm,
                                                              QUuid("{5F1C2A3B-9D8E-4F70-A1B2-C3D4E5F60718}")),
                    snapshot);
    }
};

QTEST_GUILESS_MAIN(TestCanonicalRules)
#include "TestCanonicalRules.moc"
