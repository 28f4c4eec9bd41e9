#include "sheets/SheetsRecords.h"

#include "common/JsonFields.h"
#include "common/TextRules.h"

#include <QJsonArray>
#include <QJsonObject>

namespace wrenlow {

namespace {

std::optional<FlexibleInt> optionalFlexibleInt(const QJsonObject &object, const QString &key)
{
    if (json::isAbsent(object, key))
        return std::nullopt;
    return FlexibleInt::fromJson(object.value(key));
}

// The gateway's reason for a refusal. One of only blanks is no reason, so that no status line is left blank.
std::optional<QString> refusalReason(const QJsonObject &object)
{
    std::optional<QString> reason = json::optionalString(object, QStringLiteral("error"));
    if (reason && reason->trimmed().isEmpty())
        return std::nullopt;
    return reason;
}

} // namespace

FlexibleInt FlexibleInt::fromJson(const QJsonValue &json)
{
    if (const auto integer = json::exactInteger(json))
        return {integer};
    if (json.isString())
        return {decimalInteger(json.toString())};
    return {};
}

JsonLooseValue::Kind JsonLooseValue::kind() const
{
    switch (m_json.type()) {
    case QJsonValue::String:
        return Kind::String;
    case QJsonValue::Double:
        return Kind::Number;
    case QJsonValue::Bool:
        return Kind::Bool;
    case QJsonValue::Object:
        return Kind::Object;
    case QJsonValue::Array:
        return Kind::Array;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return Kind::Null;
}

std::optional<QString> JsonLooseValue::stringValue() const
{
    if (!m_json.isString())
        return std::nullopt;
    return m_json.toString();
}

JsonLooseValue JsonLooseValue::member(const QString &key) const
{
    return JsonLooseValue(m_json.toObject().value(key));
}

SheetsProjectList SheetsProjectList::fromJson(const QByteArray &body)
{
    const QJsonObject object = json::parseObject(body);
    SheetsProjectList list;
    list.ok = json::requireBool(object, QStringLiteral("ok"));
    list.empId = json::requireString(object, QStringLiteral("empId"));
    list.employeeName = json::requireString(object, QStringLiteral("employeeName"));
    list.targetSpreadsheetId = json::requireString(object, QStringLiteral("targetSpreadsheetId"));
    for (const QJsonValue &project : json::requireArray(object, QStringLiteral("projects")))
        list.projects.append(json::stringElement(project, QStringLiteral("projects")));
    list.error = refusalReason(object);
    return list;
}

QStringList SheetsDuplicateResult::matchDescriptions() const
{
    QStringList descriptions;
    for (const JsonLooseValue &match : matches) {
        if (match.kind() == JsonLooseValue::Kind::String) {
            descriptions.append(*match.stringValue());
        } else if (match.kind() == JsonLooseValue::Kind::Object) {
            const QString field = match.member(QStringLiteral("field")).stringValue().value_or(QString());
            const QString value = match.member(QStringLiteral("value")).stringValue().value_or(QString());
            if (field.isEmpty())
                descriptions.append(value);
            else if (value.isEmpty())
                descriptions.append(field);
            else
                descriptions.append(field + u": " + value);
        }
    }
    return descriptions;
}

SheetsDuplicateResult SheetsDuplicateResult::fromJson(const QByteArray &body)
{
    const QJsonObject object = json::parseObject(body);
    SheetsDuplicateResult result;
    result.ok = json::requireBool(object, QStringLiteral("ok"));
    result.duplicate = json::requireBool(object, QStringLiteral("duplicate"));
    result.sheetName = json::requireString(object, QStringLiteral("sheetName"));
    result.rowNumber = optionalFlexibleInt(object, QStringLiteral("rowNumber"));
    result.employeeName = json::requireString(object, QStringLiteral("employeeName"));
    for (const QJsonValue &match : json::requireArray(object, QStringLiteral("matches")))
        result.matches.append(JsonLooseValue::fromJson(match));
    result.error = refusalReason(object);
    return result;
}

SheetsUploadResult SheetsUploadResult::fromJson(const QByteArray &body)
{
    const QJsonObject object = json::parseObject(body);
    SheetsUploadResult result;
    result.ok = json::requireBool(object, QStringLiteral("ok"));
    result.duplicate = json::requireBool(object, QStringLiteral("duplicate"));
    result.sheetName = json::requireString(object, QStringLiteral("sheetName"));
    result.rowNumber = optionalFlexibleInt(object, QStringLiteral("rowNumber"));
    result.duplicateAction = json::requireString(object, QStringLiteral("duplicateAction"));
    result.employeeName = json::requireString(object, QStringLiteral("employeeName"));
    result.busy = json::requireBool(object, QStringLiteral("busy"));
    result.retryable = json::requireBool(object, QStringLiteral("retryable"));
    result.retryAfterMs = json::requireInteger(object, QStringLiteral("retryAfterMs"));
    result.error = refusalReason(object);
    return result;
}

} // namespace wrenlow
