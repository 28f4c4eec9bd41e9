#include "sheets/SheetsRecords.h"

#include "common/WrenlowError.h"

#include <QJsonArray>
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
    void flexibleInt_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<qint64>>("value");
        const std::optional<qint64> none;
        // clang-format off
        QTest::newRow("text with plus") << QByteArray(R"("+7")") << std::optional<qint64>(7);
        QTest::newRow("text beyond range") << QByteArray(R"("9223372036854775808")") << none;
        QTest::newRow("empty text") << QByteArray(R"("")") << none;
        QTest::newRow("non-ASCII digits") << QByteArray(R"("١٢")") << none;
        QTest::newRow("fraction") << QByteArray("7.5") << none;
        // clang-format on
    }
    void flexibleInt()
    {
        QFETCH(QByteArray, json);
        QTEST(FlexibleInt::fromJson(QJsonDocument::fromJson("[" + json + "]").array().at(0)).value, "value");
    }

    // Every member lands in its own field, the row number read loosely; unknown members are ignored.
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
        QCOMPARE(upload.parsedRowNumber(), 41);
        QCOMPARE(SheetsUploadResult::fromJson(with(completeUpload, "rowNumber", R"("12b")")).parsedRowNumber(),
                 std::nullopt);
        QCOMPARE(SheetsDuplicateResult::fromJson(with(completeDuplicate, "rowNumber", R"("12")")).parsedRowNumber(),
                 12);
        QCOMPARE(SheetsDuplicateResult::fromJson(completeDuplicate).parsedRowNumber(), std::nullopt);
        QCOMPARE(upload.retryAfterMs, INT64_MIN);
    }

    // Which replies decode at all: a required member missing or of another JSON type fails the whole record.
    void strictDecoding_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("decodes");
        // clang-format off
        QTest::newRow("list: error null") << "list" << with(completeList, "error", "null") << true;
        QTest::newRow("list: a project that is a number") << "list" << with(completeList, "projects", R"(["P", 1])") << false;
        QTest::newRow("list: ok is a text") << "list" << with(completeList, "ok", R"("true")") << false;
        QTest::newRow("list: employee name missing") << "list" << with(completeList, "employeeName", "") << false;
        QTest::newRow("list: array body") << "list" << QByteArray("[]") << false;
        QTest::newRow("duplicate: matches not a list") << "duplicate" << with(completeDuplicate, "matches", "{}") << false;
        QTest::newRow("duplicate: rowNumber of any kind") << "duplicate" << with(completeDuplicate, "rowNumber", R"({"n": 1})") << true;
        QTest::newRow("duplicate: duplicate missing") << "duplicate" << with(completeDuplicate, "duplicate", "") << false;
        QTest::newRow("upload: retryable missing") << "upload" << with(completeUpload, "retryable", "") << false;
        QTest::newRow("upload: retryAfterMs is a text") << "upload" << with(completeUpload, "retryAfterMs", R"("2500")") << false;
        QTest::newRow("upload: retryAfterMs is a fraction") << "upload" << with(completeUpload, "retryAfterMs", "2.5") << false;
        // clang-format on
    }
    void strictDecoding()
    {
        QFETCH(QString, record);
        QFETCH(QByteArray, body);
        QFETCH(bool, decodes);
        const auto decode = [&] {
            if (record == "list")
                SheetsProjectList::fromJson(body);
            else if (record == "duplicate")
                SheetsDuplicateResult::fromJson(body);
            else
                SheetsUploadResult::fromJson(body);
        };
        if (decodes)
            decode();
        else
            QVERIFY_THROWS_EXCEPTION(PlatformError, decode());
    }

    // Texts are taken whole, objects as "field: value" with what is missing or not a text left out, the rest skipped.
    void matchDescriptions()
    {
        const QByteArray matches =
            R"(["A", {"field": "Serial", "value": "X1"}, {"field": "", "value": "X2"}, {"value": "X3"},)"
            R"( {"field": "F"}, {}, 5, true, null, ["B"], {"field": 5, "value": "v"},)"
            R"( {"field": "Tag", "value": 12}])";
        QCOMPARE(SheetsDuplicateResult::fromJson(with(completeDuplicate, "matches", matches)).matchDescriptions(),
                 (QStringList{"A", "Serial: X1", "X2", "X3", "F", "", "v", "Tag"}));
    }
};

QTEST_GUILESS_MAIN(TestSheetsRecords)
#include "TestSheetsRecords.moc"
