#include "ReportTestSupport.h"

#include "report/MacCanonicalInventoryBuilder.h"

using namespace wrenlow;
using reporttest::json;

// The resolve and commit bodies: the whole canonical report plus routing keys beside its blocks.
class TestRequestBodies : public QObject
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

QTEST_GUILESS_MAIN(TestRequestBodies)
#include "TestRequestBodies.moc"
