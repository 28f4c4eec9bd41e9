#include "sheets/MacUploadPayloadBuilder.h"

#include "common/UtcTime.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"
#include "SheetsTestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;
using namespace sheetsTest;

namespace {

// The technician's fields by name; missing ones are empty.
UploadOperatorInput inputFrom(const QVariantMap &fields)
{
    const auto f = [&fields](const char *name) { return fields.value(name).toString(); };
    return {.empId = f("empId"),
            .projectId = f("projectId"),
            .duplicateAction = f("duplicateAction"),
            .assetTag = f("assetTag"),
            .techName = f("techName"),
            .fsnCode = f("fsnCode"),
            .sent = f("sent"),
            .trackingNumber = f("trackingNumber"),
            .location = f("location"),
            .palletNumber = f("palletNumber"),
            .asinCode = f("asinCode"),
            .description = f("description"),
            .issue = f("issue"),
            .workingOnIt = f("workingOnIt"),
            .comments = f("comments"),
            .unitPasses = f("unitPasses")};
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
    snapshot.collectedAt = QDateTime(QDate(2026, 2, 3), QTime(10, 0), utc);
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
        value = value.toObject().value(key);
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
        const QVariantMap amazon{{"empId", " amzn "}, {"techName", "Dana"}, {"assetTag", "AZ-1"}};
        QTest::newRow("blank EMP ID first") << noSerial << QVariantMap{{"empId", " \t\n"}} << "EMP ID is required.";
        QTest::newRow("blank project before serial")
            << noSerial << QVariantMap{{"empId", "E1"}, {"projectId", "  "}} << "A project is required.";
        QTest::newRow("no serial row") << noSerial << standardRoute << "A serial number is required before upload.";
        QTest::newRow("technician before AZ number")
            << withSerial() << QVariantMap{{"empId", "AMZN"}, {"techName", " "}}
            << "Technician name is required for Amazon Returns.";
        QTest::newRow("AZ number") << withSerial()
                                   << QVariantMap{{"empId", "AMZN"}, {"techName", "D"}, {"assetTag", "\n"}}
                                   << "AZ number is required for Amazon Returns.";
        QTest::newRow("complete Amazon route") << withSerial() << amazon << "";
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
        QTest::addColumn<QString>("normalized");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("allowed");
        const QString amazon = "Incoming Amazon Returns", refurb = "Refurb";
        QTest::newRow("lower case, padded; append") << " amzn\t" << QString("AMZN") << "append" << amazon << true;
        QTest::newRow("longer id; capital letter") << "amzn1" << QString("AMZN1") << "Append" << refurb << false;
        QTest::newRow("inner blank; trailing blank") << "am zn" << QString("AM ZN") << "overwrite " << refurb << false;
    }
    void routingFromTheInput()
    {
        QFETCH(QString, empId);
        QFETCH(QString, normalized);
        QFETCH(QString, action);
        QFETCH(bool, allowed);
        const QVariantMap fields{{"empId", empId},
                                 {"projectId", " Refurb "},
                                 {"techName", "D"},
                                 {"assetTag", "A"},
                                 {"duplicateAction", action}};
        const QJsonObject payload = MacUploadPayloadBuilder::build(withSerial(), inputFrom(fields));
        for (const char *path : {"empId", "routing/empId", "operator/empId"})
            QCOMPARE(at(payload, path).toString(), normalized);
        QTEST(at(payload, "routing/projectId").toString(), "project");
        for (const char *path : {"routing/allowDuplicate", "operator/allowDuplicate"})
            QCOMPARE(at(payload, path), QJsonValue(allowed));
        QCOMPARE(at(payload, "routing/duplicateAction").toString(), action);
    }

    void aFailureOverridesTheTechniciansUnitPasses()
    {
        InventorySnapshot snapshot = withSerial();
        snapshot.diagnostics = {DiagnosticItem{"keyboard", "Keyboard", DiagnosticState::Pass, "", "keyboard", {}},
                                DiagnosticItem{"sound", "Speakers", DiagnosticState::Fail, "", "speaker", {}}};
        QVariantMap fields{{"empId", "amzn"}, {"techName", "Dana"}, {"assetTag", "AZ-1"}, {"unitPasses", "Yes"}};
        QJsonObject payload = MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
        QCOMPARE(at(payload, "clientPreparedRows/amazonReturns/Unit Passes").toString(), "No");
        QCOMPARE(at(payload, "operator/input/amazonReturns/unitPasses").toString(), "No");

        snapshot.diagnostics[1].state = DiagnosticState::Review;
        fields["unitPasses"] = "";
        payload = MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
        QCOMPARE(at(payload, "clientPreparedRows/amazonReturns/Unit Passes").toString(), "");
        QCOMPARE(at(payload, "operator/input/pc/unitPasses").toString(), "Review");
    }

    void fallbacksAndTheAmazonSummary()
    {
        const InventorySnapshot snapshot =
            snapshotWith({sectionOf("identity", {{"Serial number", "S1"}, {"Model", "MacBook Air"}}),
                          sectionOf("processor", {{"Apple silicon", "Not reported"}, {"Processor", "Intel Core i5"}}),
                          sectionOf("memory", {{"Installed", "8 GB"}}),
                          sectionOf("battery", {{"Maximum capacity", "88%"}, {"Current charge", "50%"}}),
                          sectionOf("macos", {{"Version", "12.7"}, {"Architecture", "x86_64"}})},
                         "macbook air");
        QVariantMap fields = standardRoute;
        fields["description"] = "   ";
        const QJsonObject payload = MacUploadPayloadBuilder::build(snapshot, inputFrom(fields));
        QCOMPARE(at(payload, "clientPreparedRows/amazonReturns/Description").toString(),
                 "Apple / MacBook Air / Intel Core i5 / 8GB / macOS 12.7");
        QCOMPARE(at(payload, "clientPreparedRows/amazonReturns/Model").toString(),
                 "APPLE MacBook Air|Intel Core i5|8GB |MACOS 12.7");
        QCOMPARE(at(payload, "clientPreparedRows/standard/Type").toString(), "Laptop");
        QCOMPARE(at(payload, "battery/summary").toString(), "Health 88 | Current 50%");
        QCOMPARE(at(payload, "installedMacOS/architecture").toString(), "x86_64");
    }
};

QTEST_GUILESS_MAIN(TestMacUploadPayloadBuilder)
#include "TestMacUploadPayloadBuilder.moc"
