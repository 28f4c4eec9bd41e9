#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The small readers through which every section builder reads the parsed system profile.
// A "number" here is what the platform's JSON parser makes a number: JSON numbers and the literals true/false.
namespace wrenlow::profile {

// What the scan shows for a value the tools did not report.
inline QString notReported()
{
    return QStringLiteral("Not reported");
}

// The elements of an array made wholly of dictionaries; anything else (another kind of array included) gives none.
QList<QJsonObject> dictionaryArray(const QJsonValue &value);

// The first item dictionary of `dataType` in the profile, or the empty dictionary.
QJsonObject first(const QJsonObject &profile, const QString &dataType);

// The first key holding a non-blank text (humanized, untrimmed) or a number (its text); else `fallback`.
QString text(const QJsonObject &dictionary, const QStringList &keys, const QString &fallback);

// The key's non-empty text (humanized; blanks count) or number text; else nothing.
std::optional<QString> textOptional(const QJsonObject &dictionary, const QString &key);

// The key's number text followed by `suffix`; a text is not a number.
std::optional<QString> intText(const QJsonObject &dictionary, const QString &key, const QString &suffix = {});

// The display word for a system-report code word (exact match), or the text unchanged.
QString humanize(const QString &text);

// Every dictionary inside a JSON value, parents before their contents, values visited in key order.
QList<QJsonObject> recursiveDictionaries(const QJsonValue &value);

// The text of a number as the platform prints it: integers as plain digits, true/false as 1/0.
std::optional<QString> numberText(const QJsonValue &value);

} // namespace wrenlow::profile
