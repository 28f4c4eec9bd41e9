#include "ReportTestSupport.h"

#include "common/UtcTime.h"
#include "common/WrenlowError.h"
#include "report/MacCanonicalInventoryBuilder.h"
#include "report/ReportStore.h"
#include "report/WrenlowReportEnvelope.h"

#include <QDir>
#include <QTemporaryDir>

using namespace wrenlow;

// The saved report envelope and the two files that every save replaces under the home folder.
class TestReportStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    const QString m_reports = "/Library/Application Support/Wrenlow Zel Mac/Reports";

    QString reportFile(const QString &name) const { return m_home.path() + m_reports + "/" + name; }

    static QByteArray bytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // `value` with the key at the end of `path` taken out; numbers along the path index arrays.
    static QJsonValue withoutKey(const QJsonValue &value, QStringList path)
    {
        const QString step = path.takeFirst();
        if (value.isArray()) {
            QJsonArray array = value.toArray();
            array[step.toInt()] = withoutKey(array.at(step.toInt()), path);
            return array;
        }
        QJsonObject object = value.toObject();
        if (path.isEmpty())
            object.remove(step);
        else
            object[step] = withoutKey(object.value(step), path);
        return object;
    }

private slots:
    void init()
    {
        QDir(m_home.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_home.path()));
        qputenv("HOME", m_home.path().toUtf8());
    }

    // The envelope as written, and a second save that rewrites only the envelope's time.
    void savingAgainMovesOnlyWhatChanged()
    {
        const QJsonObject raw = reporttest::fixtureObject("intel-desktop.json");
        const InventorySnapshot snapshot = InventorySnapshot::fromJson(raw);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        ReportStore::save(snapshot, "REVIEW REQUIRED");
        const QString savedAt = reporttest::readObject(reportFile("latest.json")).value("savedAt").toString();
        QVERIFY(qAbs(QDateTime::fromString(savedAt, Qt::ISODate).secsTo(now)) <= 1);
        const QByteArray canonical = bytes(reportFile("canonical-preview.json"));
        COMPARE_JSON(QJsonDocument::fromJson(canonical).object(), MacCanonicalInventoryBuilder::build(snapshot));

        ReportStore::save(snapshot, "REVIEW REQUIRED", QDateTime(QDate(2025, 8, 9), QTime(10, 11, 12, 987), utc));
        QCOMPARE(bytes(reportFile("canonical-preview.json")), canonical);
        // The sections and diagnostics go out as the fixture wrote them, state texts such as "N/A" included, and
        // the fixture's time in UTC, whole seconds.
        QJsonObject inventory = raw;
        inventory.remove("diagnostics");
        inventory.insert("collectedAt", "2025-06-30T23:59:59Z");
        QJsonObject expected{{"format", "wrenlow.zel.report.v1"},
                             {"unitResult", "REVIEW REQUIRED"},
                             {"savedAt", "2025-08-09T10:11:12Z"},
                             {"diagnostics", raw.value("diagnostics")},
                             {"inventory", inventory}};
        COMPARE_JSON(reporttest::readObject(reportFile("latest.json")), expected);

        // Every "/" inside a text is written as "\/", in both files; the objects above read back unchanged.
        const QByteArray latest = bytes(reportFile("latest.json"));
        QVERIFY(latest.contains("\"state\": \"N\\/A\"") && latest.contains("\"iMac MXWU2LL\\/A\""));
        QVERIFY(canonical.contains("\"802.11 a\\/b\\/g\\/n\\/ac\""));
        for (const QByteArray &text : {latest, canonical})
            QCOMPARE(text.count("\\/"), text.count('/'));
    }

    // The saved report reads back as written, and a key missing at any level stops the reading.
    void savedReportReadsBack_data()
    {
        QTest::addColumn<QStringList>("missing"); // the path to one key taken out; none for the whole report
        QTest::newRow("whole report") << QStringList{};
        QTest::newRow("envelope's verdict") << QStringList{"unitResult"};
        QTest::newRow("envelope's time") << QStringList{"savedAt"};
        QTest::newRow("inventory's serial") << QStringList{"inventory", "serial"};
        QTest::newRow("inventory's sections") << QStringList{"inventory", "sections"};
        QTest::newRow("a section's row id") << QStringList{"inventory", "sections", "0", "values", "0", "id"};
        QTest::newRow("a diagnostic's devices") << QStringList{"diagnostics", "0", "devices"};
    }

    void savedReportReadsBack()
    {
        QFETCH(QStringList, missing);
        ReportStore::save(reporttest::fixture("macbook-apple-silicon"), "UNIT PASSES");
        const QJsonObject saved = reporttest::readObject(reportFile("latest.json"));
        if (missing.isEmpty()) {
            COMPARE_JSON(WrenlowReportEnvelope::fromJson(saved).toJson(), saved);
            return;
        }
        try {
            WrenlowReportEnvelope::fromJson(withoutKey(saved, missing).toObject());
            QFAIL("the report was read without its key");
        } catch (const PlatformError &error) {
            QCOMPARE(error.description(), "The data could not be read: “" + missing.last() + "” is missing.");
        }
    }

    void failedSaveSaysWhereAndWhy_data()
    {
        QTest::addColumn<QString>(
            "blocker"); // under the home: a file where a folder must be, or a folder in a file's place
        QTest::addColumn<QStringList>("reportsAfter");
        // clang-format off
        QTest::newRow("file in the folder chain") << "/Library" << QStringList{};
        QTest::newRow("latest.json cannot be written") << m_reports + "/latest.json" << QStringList{"latest.json"};
        QTest::newRow("canonical preview cannot be written") << m_reports + "/canonical-preview.json" << QStringList{"canonical-preview.json", "latest.json"};
        // clang-format on
    }

    void failedSaveSaysWhereAndWhy()
    {
        QFETCH(QString, blocker);
        QFETCH(QStringList, reportsAfter);
        const QString named = QFileInfo(blocker).fileName();
        QFile file(m_home.path() + blocker);
        QVERIFY(named.endsWith(".json") ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        try {
            ReportStore::save(reporttest::fixture("empty"), "TESTING INCOMPLETE");
            QFAIL("the save did not fail");
        } catch (const PlatformError &error) {
            const QString text = error.description();
            QVERIFY2(text.contains(named) && text.contains(m_home.path()), qPrintable(text));
        }
        // Nothing half-written: only the blocker and, when the envelope went through first, a whole latest.json.
        const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(QDir(m_home.path()).entryList(entries), QStringList{"Library"});
        QCOMPARE(QDir(m_home.path() + m_reports).entryList(entries), reportsAfter);
        if (QFileInfo(reportFile("latest.json")).isFile())
            QCOMPARE(reporttest::readObject(reportFile("latest.json")).value("format").toString(),
                     "wrenlow.zel.report.v1");
    }
};

QTEST_GUILESS_MAIN(TestReportStore)
#include "TestReportStore.moc"
