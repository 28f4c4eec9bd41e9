#include "sheets/PayloadValues.h"
#include "sheets/SheetVerdicts.h"

#include "SheetsTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace wrenlow;
using namespace sheetsTest;

using States = QList<DiagnosticState>;

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
        // clang-format off
        QTest::newRow("two drives in order, detail rows skipped") << Rows{{"Disk 2", "2 TB | HDD"}, {"Disk 2 SMART", "Verified"}, {"Disk 1", "1 TB | SSD | x"}} << "2TB / 1TB" << QJsonArray{drive("2 TB", "HDD"), drive("1 TB", "SSD")};
        QTest::newRow("no bar: whole text, default model") << Rows{{"Disk 1", "256 GB"}} << "256GB" << QJsonArray{drive("256 GB", "Apple Storage")};
        QTest::newRow("newlines are not blanks") << Rows{{"Disk 1", "\n1 TB\t| SSD"}} << "\n1TB" << QJsonArray{drive("\n1 TB", "SSD")};
        QTest::newRow("not storage rows") << Rows{{"disk 1", "1 TB"}, {"Disk", "1 TB"}, {"Disks 1", "1 TB"}} << "" << QJsonArray{};
        // clang-format on
    }
    void storageRows()
    {
        QFETCH(Rows, rows);
        const InventorySection drives = sectionOf("drives", rows);
        QTEST(payload::storageSummary(drives), "summary");
        QTEST(payload::driveRows(drives), "drives");
    }

    // The fixtures cover all passed, and review among passes; here the rest of the three verdict columns.
    void verdictMatrix_data()
    {
        QTest::addColumn<States>("states");
        QTest::addColumn<bool>("allComplete");
        QTest::addColumn<QStringList>("verdicts"); // pass, check, review
        using enum DiagnosticState;
        // clang-format off
        QTest::newRow("all not applicable") << States{NotApplicable, NotApplicable} << false << QStringList{"", "No", ""};
        QTest::newRow("one fail") << States{Pass, Fail, Review, Ready} << false << QStringList{"No", "No", "No"};
        QTest::newRow("review while another runs") << States{Review, Running} << false << QStringList{"", "No", "Review"};
        // clang-format on
    }
    void verdictMatrix()
    {
        QFETCH(States, states);
        InventorySnapshot snapshot;
        for (const DiagnosticState state : states)
            snapshot.diagnostics.append(DiagnosticItem{"check", "Check", state, "detail", "symbol", {}});
        const SheetVerdicts verdicts = SheetVerdicts::from(snapshot);
        QTEST(verdicts.allComplete, "allComplete");
        QTEST((QStringList{verdicts.passVerdict(), verdicts.checkVerdict(), verdicts.reviewVerdict()}), "verdicts");
    }
};

QTEST_GUILESS_MAIN(TestPayloadValues)
#include "TestPayloadValues.moc"
