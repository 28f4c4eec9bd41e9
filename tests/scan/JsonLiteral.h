#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

namespace wrenlow::test {

// A JSON object written in a test table; a typo in the table stops the test instead of testing nothing.
inline QJsonObject object(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        qFatal("bad JSON in a test table: %s in %s", qPrintable(error.errorString()), json.constData());
    return document.object();
}

} // namespace wrenlow::test
