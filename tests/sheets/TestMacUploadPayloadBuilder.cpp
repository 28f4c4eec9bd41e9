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
    using I = UploadOperatorInput;
    // clang-format off
    static const QList<std::pair<const char *, QString I::*>> members{
        {"empId", &I::empId}, {"projectId", &I::projectId}, {"duplicateAction", &I::duplicateAction},
        {"assetTag", &I::assetTag}, {"techName", &I::techName}, {"fsnCode", &I::fsnCode}, {"sent", &I::sent},
        {"trackingNumber", &I::trackingNumber}, {"location", &I::location}, {"palletNumber", &I::palletNumber},
        {"asinCode", &I::asinCode}, {"description", &I::description}, {"issue", &I::issue},
        {"workingOnIt", &I::workingOnIt}, {"comments", &I::comments}, {"unitPasses", &I::unitPasses}};
    // clang-format on
    I input;
    for (const auto &[name, member] : members)
        input.*member = fields.value(name).toString();
    return input;
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

InventorySnapshot withSerial(const QString &serial = "SERIAL1")
{
    return snapshotWith({sectionOf("identity", {{"Serial number", serial}})});
}

const QVariantMap standardRoute{{"empId", "E1"}, {"projectId", "Refurb"}};

QString buildError(const InventorySnapshot &snapshot, const QVariantMap &fields)
{
    try {
        MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
    } catch (const SheetsClientError &error) {
        return error.kind() == SheetsClientError::Kind::Server ? error.description() : "wrong kind";
    }
    return {};
}

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
        const QJsonObject payload = buildFixture(name);
        const QJsonObject expected = fixture(name + "-payload");
        for (const QString &key : expected.keys())
            QVERIFY2(payload.value(key) == expected.value(key), qPrintable(key));
        QCOMPARE(payload.keys(), expected.keys());
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

    void validationMessagesInOrder_data()
    {
        QTest::addColumn<InventorySnapshot>("snapshot");
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QString>("message");
        const InventorySnapshot noSerial = snapshotWith({});
        // clang-format off
        QTest::newRow("blank EMP ID first") << noSerial << QVariantMap{{"empId", " \t\n"}} << "EMP ID is required.";
        QTest::newRow("blank project before serial") << noSerial << QVariantMap{{"empId", "E1"}, {"projectId", "  "}} << "A project is required.";
        QTest::newRow("no serial row") << noSerial << standardRoute << "A serial number is required before upload.";
        QTest::newRow("technician before AZ number") << withSerial() << QVariantMap{{"empId", "AMZN"}, {"techName", " "}} << "Technician name is required for Amazon Returns.";
        QTest::newRow("AZ number") << withSerial() << QVariantMap{{"empId", "AMZN"}, {"techName", "D"}, {"assetTag", "\n"}} << "AZ number is required for Amazon Returns.";
        // clang-format on
    }
    void validationMessagesInOrder()
    {
        QFETCH(InventorySnapshot, snapshot);
        QFETCH(QVariantMap, fields);
        QTEST(buildError(snapshot, fields), "message");
    }

    // The Amazon route follows the EMP ID in any letter case after trimming; a duplicate is allowed only for the
    // exact texts "append" and "overwrite".
    void routingFromTheInput_data()
    {
        QTest::addColumn<QString>("empId");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QJsonObject>("routing");
        // clang-format off
        const auto routing = [](const char *empId, const char *project, const char *action, bool allowed) {
            return QJsonObject{{"empId", empId}, {"projectId", project}, {"duplicateAction", action}, {"allowDuplicate", allowed}};
        };
        QTest::newRow("lower case, padded; append") << " amzn\t" << "append" << routing("AMZN", "Incoming Amazon Returns", "append", true);
        QTest::newRow("longer id; capital letter") << "amzn1" << "Append" << routing("AMZN1", "Refurb", "Append", false);
        QTest::newRow("inner blank; trailing blank") << "am zn" << "overwrite " << routing("AM ZN", "Refurb", "overwrite ", false);
        // clang-format on
    }
    void routingFromTheInput()
    {
        QFETCH(QString, empId);
        QFETCH(QString, action);
        QVariantMap fields{{"projectId", " Refurb "}, {"techName", "D"}, {"assetTag", "A"}};
        fields.insert({{"empId", empId}, {"duplicateAction", action}});
        QTEST(MacUploadPayloadBuilder::build(withSerial(), inputFrom(fields)).value("routing").toObject(), "routing");
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
