#include "sheets/MacUploadPayloadBuilder.h"

#include "common/UtcTime.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"
#include "SheetsTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;
using namespace sheetsTest;

namespace {

// The technician's fields by name; missing ones are empty.
UploadOperatorInput inputFrom(const QVariantMap &fields)
{
    const auto f = [&fields](const char *name) { return fields.value(name).toString(); };
    // clang-format off
    return {.empId = f("empId"), .projectId = f("projectId"), .duplicateAction = f("duplicateAction"), .assetTag = f("assetTag"),
            .techName = f("techName"), .fsnCode = f("fsnCode"), .sent = f("sent"), .trackingNumber = f("trackingNumber"),
            .location = f("location"), .palletNumber = f("palletNumber"), .asinCode = f("asinCode"), .description = f("description"),
            .issue = f("issue"), .workingOnIt = f("workingOnIt"), .comments = f("comments"), .unitPasses = f("unitPasses")};
    // clang-format on
}

QJsonObject fixture(const QString &name)
{
    QFile file(QFINDTESTDATA("fixtures/payload/" + name + ".json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject buildFixture(const QString &name)
{
    return MacUploadPayloadBuilder::build(InventorySnapshot::fromJson(fixture(name + "-snapshot")),
                                          inputFrom(fixture(name + "-input").toVariantMap()));
}

InventorySnapshot snapshotWith(const QList<InventorySection> &sections, const QString &model = "Mac mini")
{
    InventorySnapshot snapshot;
    snapshot.collectedAt = QDateTime(QDate(2026, 2, 3), QTime(10, 0, 0, 987), utc);
    snapshot.model = model;
    snapshot.architecture = "arm64";
    snapshot.sections = sections;
    return snapshot;
}

const QVariantMap standardRoute{{"empId", "E1"}, {"projectId", "Refurb"}};

QJsonValue at(const QJsonObject &payload, const QString &path)
{
    QJsonValue value = payload;
    for (const QString &key : path.split('/'))
        value = value.isArray() ? value.toArray().at(key.toInt()) : value.toObject().value(key);
    return value;
}

} // namespace

class TestMacUploadPayloadBuilder : public QObject
{
    Q_OBJECT

private slots:
    void init() { setTimeZone("UTC0"); }

    void fixturesGiveTheHandWrittenPayload_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Apple silicon laptop, Amazon route") << "apple-silicon";
        QTest::newRow("Intel desktop, standard route") << "intel";
    }
    void fixturesGiveTheHandWrittenPayload()
    {
        QFETCH(QString, name);
        QCOMPARE(buildFixture(name), fixture(name + "-payload"));
    }

    // The fixtures' scan is late in the evening in UTC: nine hours east it is the next day on the sheet.
    void sheetDateFollowsTheTimeZoneAcrossMidnight()
    {
        setTimeZone("JST-9");
        const QJsonObject payload = buildFixture("apple-silicon");
        for (const char *row : {"standard", "els", "project", "amazonReturns"})
            QCOMPARE(at(payload, QString("clientPreparedRows/%1/Date").arg(row)).toString(), "05/15/2026");
        // The scan time stays in UTC whatever the zone.
        QCOMPARE(payload.value("collectedAt").toString(), "2026-05-14T23:30:12Z");
    }

    // The refusals in their order; the Amazon route follows the EMP ID in any letter case after trimming; a duplicate
    // is allowed only for the exact texts "append" and "overwrite".
    void routingFromTheInput_data()
    {
        QTest::addColumn<InventorySnapshot>("snapshot");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QString>("outcome"); // the refusal, or the payload's routing
        const InventorySnapshot noSerial = snapshotWith({});
        // clang-format off
        const InventorySnapshot serial = snapshotWith({sectionOf("identity", {{"Serial number", "SERIAL1"}})});
        const auto routed = [](const char *empId, const char *action) { return QVariantMap{{"empId", empId}, {"duplicateAction", action}, {"projectId", " Refurb "}, {"techName", "D"}, {"assetTag", "A"}}; };
        QTest::newRow("blank EMP ID first") << noSerial << QVariantMap{{"empId", " \t\n"}} << "EMP ID is required.";
        QTest::newRow("blank project before serial") << noSerial << QVariantMap{{"empId", "E1"}, {"projectId", "  "}} << "A project is required.";
        QTest::newRow("no serial row") << noSerial << standardRoute << "A serial number is required before upload.";
        QTest::newRow("technician before AZ number") << serial << QVariantMap{{"empId", "AMZN"}, {"techName", " "}} << "Technician name is required for Amazon Returns.";
        QTest::newRow("AZ number") << serial << QVariantMap{{"empId", "AMZN"}, {"techName", "D"}, {"assetTag", "\n"}} << "AZ number is required for Amazon Returns.";
        QTest::newRow("lower case, padded; append") << serial << routed(" amzn\t", "append") << R"({"allowDuplicate":true,"duplicateAction":"append","empId":"AMZN","projectId":"Incoming Amazon Returns"})";
        QTest::newRow("longer id; capital letter") << serial << routed("amzn1", "Append") << R"({"allowDuplicate":false,"duplicateAction":"Append","empId":"AMZN1","projectId":"Refurb"})";
        QTest::newRow("inner blank; trailing blank") << serial << routed("am zn", "overwrite ") << R"({"allowDuplicate":false,"duplicateAction":"overwrite ","empId":"AM ZN","projectId":"Refurb"})";
        // clang-format on
    }
    void routingFromTheInput()
    {
        QFETCH(InventorySnapshot, snapshot);
        QFETCH(QVariantMap, fields);
        QString outcome;
        try {
            const QJsonObject payload = MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
            outcome = QJsonDocument(payload.value("routing").toObject()).toJson(QJsonDocument::Compact);
        } catch (const SheetsClientError &error) {
            outcome = error.kind() == SheetsClientError::Kind::Server ? error.description() : "wrong kind";
        }
        QTEST(outcome, "outcome");
    }

    // Fallbacks for rows the fixtures have, raw graphics names, diagnostics the fixtures lack, and a failed check
    // overriding the technician's "Unit Passes".
    void fallbacksAndOverrides()
    {
        InventorySnapshot snapshot =
            snapshotWith({sectionOf("identity", {{"Serial number", "S1"}, {"Model", "MacBook Air"}}),
                          sectionOf("processor", {{"Apple silicon", "Not reported"}, {"Processor", "Intel Core i5"}}),
                          sectionOf("memory", {{"Installed", "8 GB"}}),
                          sectionOf("battery", {{"Maximum capacity", "88%"}, {"Current charge", "50%"}}),
                          sectionOf("macos", {{"Version", "12.7"}, {"Architecture", "x86_64"}}),
                          sectionOf("graphics", {{"Graphics", " Not reported "}, {"graphics 2", "lower case"}})},
                         "macbook air");
        // Webcam and platform security come from the first item with exactly their id.
        const auto item = [](const QString &id, DiagnosticState state, const QStringList &devices = {}) {
            return DiagnosticItem{id, id, state, "detail", "symbol", devices};
        };
        using enum DiagnosticState;
        snapshot.diagnostics = {item("sound", Fail), item("Camera", Pass, {"USB"}), item("camera", Ready),
                                item("camera", Pass, {"HD"}), item("mac-security", NotApplicable)};
        QVariantMap fields = standardRoute;
        fields.insert({{"description", "   "}, {"unitPasses", "Yes"}});
        const QJsonObject payload = MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
        // clang-format off
        const QList<std::pair<const char *, QString>> expected{
            {"clientPreparedRows/amazonReturns/Description", "Apple / MacBook Air / Intel Core i5 / 8GB / macOS 12.7"},
            {"clientPreparedRows/amazonReturns/Model", "APPLE MacBook Air|Intel Core i5|8GB |MACOS 12.7"},
            {"clientPreparedRows/amazonReturns/Unit Passes", "No"},
            {"operator/input/amazonReturns/unitPasses", "No"},
            {"clientPreparedRows/standard/Type", "Laptop"},
            {"battery/summary", "Health 88 | Current 50%"},
            {"installedMacOS/architecture", "x86_64"},
            {"clientPreparedRows/project/Physical Webcam", "No"},
            {"clientPreparedRows/project/Platform Security", "N/A"},
            {"graphics/0/name", " Not reported "},
            {"graphics/1/name", ""},
            // The id leaves out the scan's milliseconds: sha256 of "wrenlow-zel|2026-02-03T10:00:00Z|E1|Refurb|S1".
            {"reportId", "wzel-75341e735962f84369e3ec98304959b2929fe92143a4d46edf6749cb328df46b"}};
        // clang-format on
        for (const auto &[path, text] : expected)
            QCOMPARE(at(payload, path).toString(), text);
    }
};

QTEST_GUILESS_MAIN(TestMacUploadPayloadBuilder)
#include "TestMacUploadPayloadBuilder.moc"
