#include "scan/InventoryModel.h"

#include "common/WrenlowError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace wrenlow;

class TestInventoryModel : public QObject
{
    Q_OBJECT

private:
    static InventorySnapshot sample()
    {
        InventorySnapshot snapshot;
        snapshot.collectedAt = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
        snapshot.elapsedSeconds = 12.5;
        snapshot.model = QStringLiteral("MacBook Pro MK193LL/A");
        snapshot.serial = QStringLiteral("C02XYZ");
        snapshot.architecture = QStringLiteral("arm64");
        snapshot.osVersion = QStringLiteral("macOS 14.4 (23E214)");
        snapshot.sections = {
            InventorySection(
                QStringLiteral("identity"), QStringLiteral("Mac Identity"), QStringLiteral("laptopcomputer"),
                {InventoryValue(QStringLiteral("Serial number"), QStringLiteral("C02XYZ"), InventoryValueState::Good)},
                std::nullopt),
            InventorySection(QStringLiteral("battery"), QStringLiteral("Battery"), QStringLiteral("battery.100"), {},
                             QStringLiteral("No internal battery detected.")),
        };
        snapshot.diagnostics = {
            DiagnosticItem{QStringLiteral("keyboard"),
                           QStringLiteral("Keyboard"),
                           DiagnosticState::NotApplicable,
                           QStringLiteral("No built-in keyboard."),
                           QStringLiteral("keyboard"),
                           {}},
            DiagnosticItem{QStringLiteral("camera"),
                           QStringLiteral("Camera"),
                           DiagnosticState::Ready,
                           QStringLiteral("Open the camera."),
                           QStringLiteral("camera"),
                           {QStringLiteral("FaceTime HD Camera")}},
        };
        return snapshot;
    }

    static QJsonObject encoded() { return sample().toJson(); }

private slots:
    void valuesHaveFreshIdentity()
    {
        const InventoryValue a(QStringLiteral("Chip"), QStringLiteral("M2"));
        const InventoryValue b(QStringLiteral("Chip"), QStringLiteral("M2"));
        QVERIFY(a.id != b.id);
        QVERIFY(!(a == b));
        QCOMPARE(a.state, InventoryValueState::Normal);
        QCOMPARE(InventoryValue::fromJson(a.toJson()), a);
    }

    void encodingUsesTheContractKeysAndForms()
    {
        const QJsonObject object = encoded();
        QCOMPARE(object.keys(), (QStringList{"architecture", "collectedAt", "diagnostics", "elapsedSeconds", "model",
                                             "osVersion", "sections", "serial"}));
        QCOMPARE(object.value(u"collectedAt").toString(), QStringLiteral("2026-03-04T05:06:07Z"));
        QCOMPARE(object.value(u"elapsedSeconds").toDouble(), 12.5);

        const QJsonObject identity = object.value(u"sections").toArray().at(0).toObject();
        QCOMPARE(identity.keys(), (QStringList{"id", "key", "symbol", "title", "values"}));
        QCOMPARE(identity.value(u"id").toString(), QStringLiteral("identity"));
        const QJsonObject row = identity.value(u"values").toArray().at(0).toObject();
        QCOMPARE(row.keys(), (QStringList{"id", "label", "state", "value"}));
        QCOMPARE(row.value(u"state").toString(), QStringLiteral("good"));
        const QString id = row.value(u"id").toString();
        QCOMPARE(id.size(), 36);
        QCOMPARE(id, id.toUpper());

        const QJsonObject battery = object.value(u"sections").toArray().at(1).toObject();
        QCOMPARE(battery.value(u"message").toString(), QStringLiteral("No internal battery detected."));

        const QJsonObject keyboard = object.value(u"diagnostics").toArray().at(0).toObject();
        QCOMPARE(keyboard.keys(), (QStringList{"detail", "devices", "id", "state", "symbol", "title"}));
        QCOMPARE(keyboard.value(u"state").toString(), QStringLiteral("N/A"));
        QVERIFY(keyboard.value(u"devices").isArray());
        QVERIFY(keyboard.value(u"devices").toArray().isEmpty());
    }

    void roundTripKeepsEverything()
    {
        const InventorySnapshot original = sample();
        const InventorySnapshot decoded = InventorySnapshot::fromJson(original.toJson());
        QCOMPARE(decoded.collectedAt, original.collectedAt);
        QCOMPARE(decoded.elapsedSeconds, original.elapsedSeconds);
        QCOMPARE(decoded.model, original.model);
        QCOMPARE(decoded.osVersion, original.osVersion);
        QCOMPARE(decoded.sections, original.sections);
        QCOMPARE(decoded.diagnostics, original.diagnostics);
        QCOMPARE(decoded.toJson(), original.toJson());
    }

    void sectionIdIsReadAsStoredAndMessageMayBeNull()
    {
        QJsonObject section = encoded().value(u"sections").toArray().at(0).toObject();
        section.insert(QStringLiteral("id"), QStringLiteral("other"));
        section.insert(QStringLiteral("message"), QJsonValue::Null);
        const InventorySection decoded = InventorySection::fromJson(section);
        QCOMPARE(decoded.id, QStringLiteral("other"));
        QCOMPARE(decoded.key, QStringLiteral("identity"));
        QVERIFY(!decoded.message.has_value());
    }

    void decodingRejects_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("replacement");
        const QJsonValue remove = QJsonValue::Undefined;

        QTest::newRow("snapshot without diagnostics") << "diagnostics" << remove;
        QTest::newRow("elapsed seconds as text") << "elapsedSeconds" << QJsonValue(QStringLiteral("12"));
        QTest::newRow("collectedAt not a date") << "collectedAt" << QJsonValue(QStringLiteral("yesterday"));
        QTest::newRow("model as number") << "model" << QJsonValue(1);
        QTest::newRow("diagnostic without devices") << "diagnostics/0/devices" << remove;
        QTest::newRow("lower-case state") << "diagnostics/0/state" << QJsonValue(QStringLiteral("pass"));
        QTest::newRow("state with a blank") << "diagnostics/0/state" << QJsonValue(QStringLiteral("Pass "));
        QTest::newRow("device not a text") << "diagnostics/1/devices" << QJsonValue(QJsonArray{1});
        QTest::newRow("row state unknown") << "sections/0/values/0/state" << QJsonValue(QStringLiteral("Good"));
        QTest::newRow("row id not a UUID") << "sections/0/values/0/id" << QJsonValue(QStringLiteral("1"));
        QTest::newRow("row without label") << "sections/0/values/0/label" << remove;
        QTest::newRow("section without symbol") << "sections/0/symbol" << remove;
        QTest::newRow("message as number") << "sections/1/message" << QJsonValue(3);
    }

    void decodingRejects()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, replacement);
        // Rewrites one member deep inside the encoded snapshot.
        std::function<QJsonValue(QJsonValue, QStringList)> edit = [&](QJsonValue node, QStringList steps) {
            const QString step = steps.takeFirst();
            if (node.isArray()) {
                QJsonArray array = node.toArray();
                array[step.toInt()] = steps.isEmpty() ? replacement : edit(array[step.toInt()], steps);
                return QJsonValue(array);
            }
            QJsonObject object = node.toObject();
            if (steps.isEmpty() && replacement.isUndefined())
                object.remove(step);
            else
                object.insert(step, steps.isEmpty() ? replacement : edit(object.value(step), steps));
            return QJsonValue(object);
        };
        const QJsonObject broken = edit(encoded(), path.split(u'/')).toObject();
        QVERIFY_THROWS_EXCEPTION(PlatformError, InventorySnapshot::fromJson(broken));
    }

    void statesAndCompleteness()
    {
        QStringList raw;
        QStringList complete;
        for (DiagnosticState state : allDiagnosticStates()) {
            raw << rawValue(state);
            if (isComplete(state))
                complete << rawValue(state);
            QCOMPARE(diagnosticStateFromRaw(rawValue(state)), state);
        }
        QCOMPARE(raw, (QStringList{"Ready", "Running", "Pass", "Fail", "Review", "N/A"}));
        QCOMPARE(complete, (QStringList{"Pass", "Fail", "Review", "N/A"}));
        QCOMPARE(diagnosticStateFromRaw(QStringLiteral("n/a")), std::nullopt);
        QCOMPARE(inventoryValueStateFromRaw(QStringLiteral("warning")), InventoryValueState::Warning);
        QCOMPARE(inventoryValueStateFromRaw(QStringLiteral("Normal")), std::nullopt);
    }

    void lookups()
    {
        InventorySnapshot snapshot = sample();
        QVERIFY(snapshot.findSection(QStringLiteral("memory")) == nullptr);
        QCOMPARE(snapshot.findSection(QStringLiteral("identity"))->findValue(QStringLiteral("Serial number"))->value,
                 QStringLiteral("C02XYZ"));
        snapshot.findDiagnostic(QStringLiteral("camera"))->state = DiagnosticState::Pass;
        QCOMPARE(snapshot.diagnostics.at(1).state, DiagnosticState::Pass);
    }
};

QTEST_GUILESS_MAIN(TestInventoryModel)
#include "TestInventoryModel.moc"
