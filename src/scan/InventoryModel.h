#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace wrenlow {

// How a row is shown: neutral, confirmed, or needing attention.
enum class InventoryValueState { Normal, Good, Warning };

QString rawValue(InventoryValueState state);
std::optional<InventoryValueState> inventoryValueStateFromRaw(const QString &raw);
size_t qHash(InventoryValueState state, size_t seed = 0) noexcept;

// One labelled row of an inventory section; readers find rows by label. Every construction gets a new id.
struct InventoryValue
{
    InventoryValue(QString label, QString value, InventoryValueState state = InventoryValueState::Normal);

    QUuid id;
    QString label;
    QString value;
    InventoryValueState state;

    bool operator==(const InventoryValue &) const = default;

    QJsonObject toJson() const;
    static InventoryValue fromJson(const QJsonObject &object);

private:
    InventoryValue() = default;
};

// Over every field with the id, as equality is: rows from separate scans are separate keys.
size_t qHash(const InventoryValue &row, size_t seed = 0);

// One titled group of rows (an inventory card), found by its key.
struct InventorySection
{
    InventorySection(QString key, QString title, QString symbol, QList<InventoryValue> values,
                     std::optional<QString> message);

    QString id;
    QString key;
    QString title;
    QString symbol;
    QList<InventoryValue> values;
    std::optional<QString> message;

    bool operator==(const InventorySection &) const = default;

    // The first row with exactly this label, or null.
    const InventoryValue *findValue(const QString &label) const;
    // The value of the first row whose label matches ignoring case, trimmed; empty when there is no such row or
    // it reads "Not reported" in any case. How the reports and sheet rows read the scan.
    QString reportedValue(const QString &label) const;

    QJsonObject toJson() const;
    static InventorySection fromJson(const QJsonObject &object);

private:
    InventorySection() = default;
};

size_t qHash(const InventorySection &section, size_t seed = 0);

// The state of one diagnostic; the raw value is also the text shown.
enum class DiagnosticState { Ready, Running, Pass, Fail, Review, NotApplicable };

QString rawValue(DiagnosticState state);
std::optional<DiagnosticState> diagnosticStateFromRaw(const QString &raw);
size_t qHash(DiagnosticState state, size_t seed = 0) noexcept;
bool isComplete(DiagnosticState state);
QList<DiagnosticState> allDiagnosticStates();

// One automated finding or hands-on test of the unit, found by its id.
struct DiagnosticItem
{
    QString id;
    QString title;
    DiagnosticState state = DiagnosticState::Ready;
    QString detail;
    QString symbol;
    QStringList devices;

    bool operator==(const DiagnosticItem &) const = default;

    QJsonObject toJson() const;
    static DiagnosticItem fromJson(const QJsonObject &object);
};

size_t qHash(const DiagnosticItem &item, size_t seed = 0);

// The result of one scan. Only the diagnostics change after it is made.
struct InventorySnapshot
{
    QDateTime collectedAt;
    double elapsedSeconds = 0;
    QString model;
    QString serial;
    QString architecture;
    QString osVersion;
    QList<InventorySection> sections;
    QList<DiagnosticItem> diagnostics;

    const InventorySection *findSection(const QString &key) const;
    // The section with exactly this key (case counts), or an empty one titled by the key with the symbol
    // "questionmark".
    InventorySection sectionOrPlaceholder(const QString &key) const;
    const DiagnosticItem *findDiagnostic(const QString &id) const;
    DiagnosticItem *findDiagnostic(const QString &id);

    // Dates are written as ISO 8601 in UTC with whole seconds ("2026-12-06T21:00:00Z").
    QJsonObject toJson() const;
    // Throws PlatformError when a required key is missing, of the wrong type, or a state text is unknown.
    static InventorySnapshot fromJson(const QJsonObject &object);
};

// The date form the model writes and reads.
QString isoDateText(const QDateTime &date);
// The date under `key`, read as the model reads its own; throws PlatformError when it is missing or no date.
QDateTime requireIsoDate(const QJsonObject &object, const QString &key);

// A machine name naming a MacBook in any letter case: a laptop, with a built-in keyboard and display.
bool isLaptopName(const QString &machineName);

// A drive's one-line summary row of the storage section ("Disk 1"), as opposed to its detail rows ("Disk 1 SMART").
bool isDiskSummaryRow(const InventoryValue &row);

// The unit's verdict over the diagnostics that apply (not "N/A"): a failure anywhere decides it; a pass needs
// every applicable item passed, so an item still ready, running or in review leaves it open.
enum class UnitVerdict { Open, Pass, Fail };
UnitVerdict unitVerdict(const QList<DiagnosticItem> &diagnostics);

} // namespace wrenlow
