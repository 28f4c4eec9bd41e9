#include "sheets/SheetsRecords.h"

#include "common/WrenlowError.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace wrenlow;

namespace {

const QByteArray completeList =
    R"({"ok": true, "empId": "AB12", "employeeName": "Ana", "targetSpreadsheetId": "s1", "projects": ["P1", "P2"]})";
const QByteArray completeDuplicate =
    R"({"ok": true, "duplicate": false, "sheetName": "Mac", "employeeName": "Ana", "matches": []})";
const QByteArray completeUpload = R"({"ok": true, "duplicate": false, "sheetName": "Mac", "rowNumber": 41,)"
                                  R"( "duplicateAction": "append", "employeeName": "Ana", "busy": false,)"
                                  R"( "retryable": false, "retryAfterMs": 0})";

// The record's text with one member replaced (or removed, with an empty replacement).
QByteArray with(const QByteArray &record, const QString &key, const QByteArray &replacement)
{
    QJsonObject object = QJsonDocument::fromJson(record).object();
    object.remove(key);
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (!replacement.isEmpty())
        text.insert(1, "\"" + key.toUtf8() + "\":" + replacement + (object.isEmpty() ? "" : ","));
    return text;
}

} // namespace

class TestSheetsRecords : public QObject
{
    Q_OBJECT

private slots:
    // Every member lands in its own field; unknown members are ignored.
    void recordsDecodeTheirMembers()
    {
        const SheetsProjectList list = SheetsProjectList::fromJson(with(completeList, "unknown", R"({"x": 1})"));
        QVERIFY(list.ok);
        QCOMPARE((QStringList{list.empId, list.employeeName, list.targetSpreadsheetId} + list.projects),
                 (QStringList{"AB12", "Ana", "s1", "P1", "P2"}));
        const SheetsUploadResult upload =
            SheetsUploadResult::fromJson(with(completeUpload, "retryAfterMs", "-9223372036854775808"));
        QCOMPARE((QList<bool>{upload.ok, upload.duplicate, upload.busy, upload.retryable}),
                 (QList<bool>{true, false, false, false}));
        QCOMPARE((QStringList{upload.sheetName, upload.duplicateAction, upload.employeeName}),
                 (QStringList{"Mac", "append", "Ana"}));
        QCOMPARE(upload.retryAfterMs, INT64_MIN);
        // Match texts are taken whole, objects as "field: value" with what is missing or not a text left out, the
        // rest skipped.
        const QByteArray matches =
            R"(["A", {"field": "Serial", "value": "X1"}, {"field": "", "value": "X2"}, {"value": "X3"},)"
            R"( {"field": "F"}, {}, 5, true, null, ["B"], {"field": 5, "value": "v"},)"
            R"( {"field": "Tag", "value": 12}])";
        QCOMPARE(SheetsDuplicateResult::fromJson(with(completeDuplicate, "matches", matches)).matchDescriptions(),
                 (QStringList{"A", "Serial: X1", "X2", "X3", "F", "", "v", "Tag"}));
    }

    // Which replies decode at all: a required member missing or of another JSON type fails the whole record. The row
    // number is read loosely: any JSON, a whole number only from a number or a text of ASCII digits.
    void decoding_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("outcome"); // "refused", else the row number, "-" for none ("ok" for a list)
        // clang-format off
        QTest::newRow("list: error null") << "list" << with(completeList, "error", "null") << "ok";
        QTest::newRow("list: a project that is a number") << "list" << with(completeList, "projects", R"(["P", 1])") << "refused";
        QTest::newRow("list: ok is a text") << "list" << with(completeList, "ok", R"("true")") << "refused";
        QTest::newRow("list: employee name missing") << "list" << with(completeList, "employeeName", "") << "refused";
        QTest::newRow("list: array body") << "list" << QByteArray("[]") << "refused";
        QTest::newRow("duplicate: matches not a list") << "duplicate" << with(completeDuplicate, "matches", "{}") << "refused";
        QTest::newRow("duplicate: duplicate missing") << "duplicate" << with(completeDuplicate, "duplicate", "") << "refused";
        QTest::newRow("duplicate: no row number") << "duplicate" << completeDuplicate << "-";
        QTest::newRow("duplicate: row number an object") << "duplicate" << with(completeDuplicate, "rowNumber", R"({"n": 1})") << "-";
        QTest::newRow("duplicate: text with plus") << "duplicate" << with(completeDuplicate, "rowNumber", R"("+7")") << "7";
        QTest::newRow("duplicate: text beyond range") << "duplicate" << with(completeDuplicate, "rowNumber", R"("9223372036854775808")") << "-";
        QTest::newRow("duplicate: empty text") << "duplicate" << with(completeDuplicate, "rowNumber", R"("")") << "-";
        QTest::newRow("duplicate: non-ASCII digits") << "duplicate" << with(completeDuplicate, "rowNumber", R"("١٢")") << "-";
        QTest::newRow("duplicate: fraction") << "duplicate" << with(completeDuplicate, "rowNumber", "7.5") << "-";
        QTest::newRow("upload: row number") << "upload" << completeUpload << "41";
        QTest::newRow("upload: text with a letter") << "upload" << with(completeUpload, "rowNumber", R"("12b")") << "-";
        QTest::newRow("upload: retryable missing") << "upload" << with(completeUpload, "retryable", "") << "refused";
        QTest::newRow("upload: retryAfterMs is a text") << "upload" << with(completeUpload, "retryAfterMs", R"("2500")") << "refused";
        QTest::newRow("upload: retryAfterMs is a fraction") << "upload" << with(completeUpload, "retryAfterMs", "2.5") << "refused";
        // clang-format on
    }
    void decoding()
    {
        QFETCH(QString, record);
        QFETCH(QByteArray, body);
        QString outcome = "ok";
        try {
            if (record == "list")
                SheetsProjectList::fromJson(body);
            else if (const auto row = record == "duplicate" ? SheetsDuplicateResult::fromJson(body).parsedRowNumber()
                                                            : SheetsUploadResult::fromJson(body).parsedRowNumber())
                outcome = QString::number(*row);
            else
                outcome = "-";
        } catch (const PlatformError &) {
            outcome = "refused";
        }
        QTEST(outcome, "outcome");
    }
};

QTEST_GUILESS_MAIN(TestSheetsRecords)
#include "TestSheetsRecords.moc"
