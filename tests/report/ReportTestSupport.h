#pragma once

#include "common/UtcTime.h"
#include "scan/InventoryModel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Helpers shared by the report tests: fixtures from disk, snapshots from a few rows, JSON from text.
namespace reporttest {

inline QJsonObject readObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QJsonDocument::fromJson(file.readAll()).object();
}

inline QJsonObject fixtureObject(const QString &file)
{
    return readObject(WRENLOW_REPORT_FIXTURES "/" + file);
}

inline wrenlow::InventorySnapshot fixture(const QString &name)
{
    return wrenlow::InventorySnapshot::fromJson(fixtureObject(name + ".json"));
}

// A snapshot with one section whose rows are given as label, value, label, value...
inline wrenlow::InventorySnapshot snapshotWith(const QString &key, const QStringList &rows,
                                               const QString &architecture = "x86_64",
                                               const QString &model = "Mac mini")
{
    wrenlow::InventorySnapshot snapshot;
    snapshot.collectedAt = QDateTime(QDate(2025, 5, 6), QTime(7, 8, 9), wrenlow::utc);
    snapshot.model = model;
    snapshot.architecture = architecture;
    snapshot.sections = {wrenlow::InventorySection(key, key, "questionmark", {}, std::nullopt)};
    for (qsizetype i = 0; i + 1 < rows.size(); i += 2)
        snapshot.sections[0].values.append(wrenlow::InventoryValue(rows.at(i), rows.at(i + 1)));
    return snapshot;
}

// A JSON value written as text; an empty text stands for an absent key.
inline QJsonValue json(const QString &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(("[" + text + "]").toUtf8());
    if (!document.isArray())
        qFatal("bad expectation: %s", qPrintable(text));
    return text.isEmpty() ? QJsonValue(QJsonValue::Undefined) : document.array().at(0);
}

inline QByteArray compact(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
}

} // namespace reporttest

// Compares parsed JSON and shows both sides as text when they differ.
#define COMPARE_JSON(actual, expected)                                                                                 \
    QVERIFY2(QJsonValue(actual) == QJsonValue(expected),                                                               \
             qPrintable("actual " + reporttest::compact(actual) + "\nexpected " + reporttest::compact(expected)))
