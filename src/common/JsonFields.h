#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace wrenlow::json {

// Strict readers for decoding records: a key that is missing or holds another JSON type throws
// PlatformError naming the key. A string is never a number, a bool is never 1, a fraction is never an integer.

QString requireString(const QJsonObject &object, const QString &key);
qint64 requireInteger(const QJsonObject &object, const QString &key);
double requireNumber(const QJsonObject &object, const QString &key);
bool requireBool(const QJsonObject &object, const QString &key);
QJsonArray requireArray(const QJsonObject &object, const QString &key);
QJsonObject requireObject(const QJsonObject &object, const QString &key);

// True when the key is missing or holds null: the decoders' "if present" test.
bool isAbsent(const QJsonObject &object, const QString &key);

// Absent or null gives nothing; any other type than the expected one throws.
std::optional<QString> optionalString(const QJsonObject &object, const QString &key);
std::optional<qint64> optionalInteger(const QJsonObject &object, const QString &key);
std::optional<bool> optionalBool(const QJsonObject &object, const QString &key);

// The element forms of the above, for arrays; `context` names the array in the error.
QString stringElement(const QJsonValue &value, const QString &context);
QJsonObject objectElement(const QJsonValue &value, const QString &context);

// A JSON number that is an integer within the 64-bit range, exactly; nothing otherwise.
std::optional<qint64> exactInteger(const QJsonValue &value);

// A list of records as a JSON array, each by its toJson().
template <typename Record> QJsonArray encodedList(const QList<Record> &records)
{
    QJsonArray array;
    for (const Record &record : records)
        array.append(record.toJson());
    return array;
}

// The array under `key` as records, each element an object read by Record::fromJson; throws as the readers do.
template <typename Record> QList<Record> decodedList(const QJsonObject &object, const QString &key)
{
    QList<Record> records;
    const QJsonArray array = requireArray(object, key);
    records.reserve(array.size());
    for (const QJsonValue &element : array)
        records.append(Record::fromJson(objectElement(element, key)));
    return records;
}

// Whether the bytes hold one JSON value that is not an object (a list, a text, a number, true, false, null) or
// nothing but blanks.
bool isJsonButNotObject(const QByteArray &bytes);

// Parses a whole document that must be an object. Throws PlatformError saying "it is not a JSON object" for
// what isJsonButNotObject accepts, with the parser's text for anything else.
QJsonObject parseObject(const QByteArray &bytes);

// Parses a whole document, which is then an object or a list: a bare value or nothing is not a document, and
// throws PlatformError with the parser's text as anything else it cannot read does.
QJsonDocument parseDocument(const QByteArray &bytes);

} // namespace wrenlow::json
