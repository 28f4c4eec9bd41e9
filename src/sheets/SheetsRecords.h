#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace wrenlow {

// A sheet row number as the gateway sends it: a JSON integer or a decimal text. Anything else gives no value;
// reading one never fails.
struct FlexibleInt
{
    std::optional<qint64> value;

    static FlexibleInt fromJson(const QJsonValue &json);
};

// Any JSON value, for reply members whose shape the gateway does not fix. Reading one never fails.
class JsonLooseValue
{
public:
    enum class Kind { String, Number, Bool, Object, Array, Null };

    static JsonLooseValue fromJson(const QJsonValue &json) { return JsonLooseValue(json); }

    Kind kind() const;
    // The text of a string value; nothing for every other kind (a number is not turned into text).
    std::optional<QString> stringValue() const;
    // A member of an object value; null when this is not an object or has no such member.
    JsonLooseValue member(const QString &key) const;

private:
    explicit JsonLooseValue(QJsonValue json)
        : m_json(std::move(json))
    {}

    QJsonValue m_json;
};

// The gateway's answer to "listProjects": the projects it routes for one EMP ID.
struct SheetsProjectList
{
    bool ok = false;
    QString empId;
    QString employeeName;
    QString targetSpreadsheetId;
    QStringList projects;
    std::optional<QString> error; // absent, null or only blanks: none

    // Throws PlatformError when the body is not a JSON object or a named member is missing or of another type.
    static SheetsProjectList fromJson(const QByteArray &body);
};

// The gateway's answer to "checkDuplicate": whether the target sheet already holds a row for the unit.
struct SheetsDuplicateResult
{
    bool ok = false;
    bool duplicate = false;
    QString sheetName;
    std::optional<FlexibleInt> rowNumber;
    QString employeeName;
    QList<JsonLooseValue> matches;
    std::optional<QString> error; // absent, null or only blanks: none

    std::optional<qint64> parsedRowNumber() const { return rowNumber ? rowNumber->value : std::nullopt; }
    // One text per text or object entry of `matches`, in order, for the message that reports a duplicate.
    QStringList matchDescriptions() const;

    static SheetsDuplicateResult fromJson(const QByteArray &body);
};

// The gateway's answer to "upload": where the row went, or whether and when to try again.
struct SheetsUploadResult
{
    bool ok = false;
    bool duplicate = false;
    QString sheetName;
    std::optional<FlexibleInt> rowNumber;
    QString duplicateAction;
    QString employeeName;
    bool busy = false;
    bool retryable = false;
    qint64 retryAfterMs = 0;
    std::optional<QString> error; // absent, null or only blanks: none

    std::optional<qint64> parsedRowNumber() const { return rowNumber ? rowNumber->value : std::nullopt; }

    static SheetsUploadResult fromJson(const QByteArray &body);
};

} // namespace wrenlow
