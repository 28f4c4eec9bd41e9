#include "sheets/PayloadValues.h"

#include "common/UtcTime.h"
#include "SheetsTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace wrenlow;
using namespace sheetsTest;

class TestPayloadValues : public QObject
{
    Q_OBJECT

private slots:
    void storageRows_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QJsonArray>("drives");

        const auto drive = [](const QString &size, const QString &model) {
            return QJsonObject{{"size", size}, {"connection", "Internal"}, {"model", model}};
        };
        QTest::newRow("two drives in order, detail rows skipped")
            << Rows{{"Disk 2", "2 TB | HDD"}, {"Disk 2 SMART", "Verified"}, {"Disk 1", "1 TB | SSD | x"}} << "2TB / 1TB"
            << QJsonArray{drive("2 TB", "HDD"), drive("1 TB", "SSD")};
        QTest::newRow("no bar: whole text, default model")
            << Rows{{"Disk 1", "256 GB"}} << "256GB" << QJsonArray{drive("256 GB", "Apple Storage")};
        QTest::newRow("newlines are not blanks")
            << Rows{{"Disk 1", "\n1 TB\t| SSD"}} << "\n1TB" << QJsonArray{drive("\n1 TB", "SSD")};
        QTest::newRow("not storage rows")
            << Rows{{"disk 1", "1 TB"}, {"Disk", "1 TB"}, {"Disks 1", "1 TB"}} << "" << QJsonArray{};
    }
    void storageRows()
    {
        QFETCH(Rows, rows);
        const InventorySection drives = sectionOf("drives", rows);
        QTEST(payload::storageSummary(drives), "summary");
        QTEST(payload::driveRows(drives), "drives");
    }

    void graphicsRowsSkipCoresAndDisplays()
    {
        const InventorySection graphics = sectionOf("graphics", {{"Graphics", "Apple M1"},
                                                                 {"Graphics cores", "8"},
                                                                 {"Display", "LCD | 2560 x 1600"},
                                                                 {"Graphics 2", " Not reported "},
                                                                 {"graphics 3", "lower case"}});
        const auto gpu = [](const QString &name) {
            return QJsonObject{{"name", name}, {"role", "integrated"}, {"source", "Wrenlow Zel macOS"}};
        };
        QCOMPARE(payload::graphicsRows(graphics), (QJsonArray{gpu("Apple M1"), gpu(" Not reported ")}));
    }

    // A scan's time carries milliseconds; the id's text does not.
    void reportIdLeavesOutTheMilliseconds()
    {
        InventorySnapshot snapshot;
        snapshot.collectedAt = QDateTime(QDate(2026, 5, 14), QTime(23, 30, 12, 987), utc);
        // sha256sum of "wrenlow-zel|2026-05-14T23:30:12Z|AMZN|Incoming Amazon Returns|K9W4QX7N2J"
        QCOMPARE(payload::makeReportID(snapshot, "AMZN", "Incoming Amazon Returns", "K9W4QX7N2J"),
                 "wzel-31f122aefa8aaea3b6c7e4b00ee16a5015e53287508d5293f0aaef6ea68ef5b3");
    }
};

QTEST_GUILESS_MAIN(TestPayloadValues)
#include "TestPayloadValues.moc"
