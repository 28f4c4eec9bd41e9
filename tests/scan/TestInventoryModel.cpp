#include "scan/InventoryModel.h"

#include "common/UtcTime.h"
#include "common/WrenlowError.h"

#include "JsonLiteral.h"

#include <QSet>
#include <QTest>

using namespace wrenlow;

namespace {

// A snapshot in the written form, by hand: upper-case UUIDs (the nil one too), no "message" key when there is none,
// "devices" written also when empty, states as their raw texts.
const QByteArray written = R"json({
    "architecture": "arm64", "collectedAt": "2026-03-04T05:06:07Z", "elapsedSeconds": 12.5,
    "model": "MacBook Pro MK193LL/A", "serial": "C02XYZ", "osVersion": "macOS 14.4 (23E214)",
    "sections": [
        {"id": "identity", "key": "identity", "title": "Mac Identity", "symbol": "laptopcomputer", "values": [
            {"id": "6C1F3A2E-0B4D-5E8F-9A7C-1D2E3F405162", "label": "Serial number", "value": "C02XYZ",
             "state": "good"},
            {"id": "00000000-0000-0000-0000-000000000000", "label": "Model", "value": "MacBook Pro",
             "state": "normal"}]},
        {"id": "battery", "key": "battery", "title": "Battery", "symbol": "battery.100", "values": [],
         "message": "No internal battery detected."}],
    "diagnostics": [
        {"id": "keyboard", "title": "Keyboard", "state": "N/A", "detail": "No built-in keyboard.", "devices": [],
         "symbol": "keyboard"},
        {"id": "camera", "title": "Camera", "state": "Ready", "detail": "Open the camera.", "symbol": "camera",
         "devices": ["FaceTime HD Camera"]}]})json";

template <typename Row, typename Change> Row changed(Row row, Change change)
{
    change(row);
    return row;
}

// `row` and each of `others` are separate keys, with hashes of their own; a copy of `row` finds it.
template <typename Row> void expectKeys(const Row &row, const QList<Row> &others)
{
    QSet<Row> keys{row};
    const Row copy = row;
    QVERIFY(keys.contains(copy) && qHash(copy, 7) == qHash(row, 7));
    for (const Row &other : others) {
        QVERIFY(qHash(other) != qHash(row));
        keys.insert(other);
    }
    QCOMPARE(keys.size(), others.size() + 1);
}

} // namespace

class TestInventoryModel : public QObject
{
    Q_OBJECT

private slots:
    void writtenFormReadsBackUnchanged()
    {
        const InventorySnapshot snapshot = InventorySnapshot::fromJson(test::object(written));
        QCOMPARE(snapshot.collectedAt, QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), utc));
        QCOMPARE(snapshot.toJson(), test::object(written));
    }

    void sectionIdIsReadAsStoredAndMessageMayBeNull()
    {
        const InventorySection decoded = InventorySection::fromJson(test::object(
            R"({"id": "other", "key": "identity", "title": "Mac Identity", "symbol": "cpu", "values": [], "message": null})"));
        QVERIFY(decoded.id == "other" && !decoded.message);
    }

    void decodingRejects_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");

        QTest::newRow("snapshot without serial") << QByteArray(R"("serial": "C02XYZ", )") << QByteArray();
        QTest::newRow("elapsed seconds as text") << QByteArray("12.5") << QByteArray(R"("12.5")");
        QTest::newRow("collectedAt not a date") << QByteArray("2026-03-04T05:06:07Z") << QByteArray("yesterday");
        QTest::newRow("diagnostic without devices") << QByteArray(R"("devices": [],)") << QByteArray();
        QTest::newRow("lower-case state") << QByteArray(R"("N/A")") << QByteArray(R"("n/a")");
        QTest::newRow("row state unknown") << QByteArray(R"("good")") << QByteArray(R"("Good")");
        QTest::newRow("row without label") << QByteArray(R"("label": "Serial number", )") << QByteArray();
        QTest::newRow("row id not a UUID") << QByteArray("405162") << QByteArray("40516Z");
    }

    void decodingRejects()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QCOMPARE(written.count(from), 1);
        const QJsonObject broken = test::object(QByteArray(written).replace(from, to));
        QVERIFY_THROWS_EXCEPTION(PlatformError, InventorySnapshot::fromJson(broken));
    }

    // Hashing agrees with equality over every field, the id included: a copy is the same key, a row made apart with
    // the same texts or one differing in a single field is another.
    void rowsHashAsTheyCompare()
    {
        const InventoryValue row("Serial number", "C02XYZ", InventoryValueState::Good);
        expectKeys(row,
                   {InventoryValue("Serial number", "C02XYZ", InventoryValueState::Good),
                    changed(row, [](auto &r) { r.label = "Model"; }), changed(row, [](auto &r) { r.value = "C02XYY"; }),
                    changed(row, [](auto &r) { r.state = InventoryValueState::Warning; })});

        const InventorySection section("identity", "Mac Identity", "cpu", {row}, std::nullopt);
        expectKeys(
            section,
            {InventorySection("identity", "Mac Identity", "cpu",
                              {InventoryValue("Serial number", "C02XYZ", InventoryValueState::Good)}, std::nullopt),
             changed(section, [](auto &s) { s.id = "other"; }), changed(section, [](auto &s) { s.key = "other"; }),
             changed(section, [](auto &s) { s.title = "Identity"; }),
             changed(section, [](auto &s) { s.symbol = "laptopcomputer"; }),
             changed(section, [](auto &s) { s.values.clear(); }), changed(section, [](auto &s) { s.message = ""; })});

        const DiagnosticItem item{"camera", "Camera", DiagnosticState::Ready, "Open the camera.", "camera", {"A"}};
        expectKeys(item, {changed(item, [](auto &i) { i.id = "microphone"; }),
                          changed(item, [](auto &i) { i.title = "Cameras"; }),
                          changed(item, [](auto &i) { i.state = DiagnosticState::Pass; }),
                          changed(item, [](auto &i) { i.detail.clear(); }),
                          changed(item, [](auto &i) { i.symbol = "video"; }),
                          changed(item, [](auto &i) { i.devices.append("B"); })});
    }

    void completeStates()
    {
        QStringList complete;
        for (DiagnosticState state : allDiagnosticStates()) {
            if (isComplete(state))
                complete << rawValue(state);
        }
        QCOMPARE(complete, (QStringList{"Pass", "Fail", "Review", "N/A"}));
    }

    // How every reader finds a row: the section by its exact key, the row by its label in any case, "Not
    // reported" read as nothing.
    void reportedValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("label in other case, value trimmed") << "identity" << "SERIAL NUMBER" << "C02X";
        QTest::newRow("not reported, any case, padded") << "identity" << "Model" << "";
        QTest::newRow("first of two rows") << "identity" << "Display" << "A";
        QTest::newRow("no prefix match") << "identity" << "Disk 1" << "";
        QTest::newRow("section key in other case") << "Identity" << "Display" << "";
        // clang-format on
    }

    void reportedValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, label);
        InventorySnapshot snapshot;
        snapshot.sections = {InventorySection("identity", "Mac Identity", "cpu",
                                              {{"Serial number", " C02X\n"},
                                               {"Model", " NOT reported \n"},
                                               {"Display", "A"},
                                               {"Display", "B"},
                                               {"Disk 1 device", "disk0"}},
                                              std::nullopt)};
        QTEST(snapshot.sectionOrPlaceholder(key).reportedValue(label), "expected");
        QCOMPARE(snapshot.sectionOrPlaceholder("memory").symbol, "questionmark");
    }
};

QTEST_GUILESS_MAIN(TestInventoryModel)
#include "TestInventoryModel.moc"
