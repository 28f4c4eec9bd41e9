#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace wrenlow {

// The broker's records. Decoding is strict: a missing required key or a value of another JSON type throws
// PlatformError naming the key; an optional key that is absent or null is empty; unknown keys are ignored.
// Encoding writes the same snake_case keys and leaves empty optionals out.

// A technician as the broker knows them.
struct KorvaneUser
{
    qint64 userId = 0;
    QString username;
    std::optional<QString> firstName;
    std::optional<QString> lastName;
    std::optional<QStringList> roles;

    // The trimmed first and last names joined by a blank, or the user name when both are empty.
    QString displayName() const;

    static KorvaneUser fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

// The tool the broker issued a sign-in for.
struct KorvaneToolIdentity
{
    std::optional<QString> source;

    static KorvaneToolIdentity fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

// The whole reply of an accepted sign-in, kept in memory for as long as the technician stays signed in.
struct KorvaneLoginResponse
{
    QString accessToken;
    QString tokenType;
    // Kept as text: an expired token shows up as a 401 answer, never through the clock.
    QString expiresAt;
    KorvaneUser user;
    std::optional<KorvaneToolIdentity> tool;

    static KorvaneLoginResponse fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

// A lot a unit can be resolved into. Pickers select by `id()`; equality covers every field.
struct KorvaneLot
{
    qint64 lotId = 0;
    QString name;
    std::optional<qint64> parentLotId;
    bool allowDuplicateMatchUnitAssumption = false;

    qint64 id() const { return lotId; }
    bool operator==(const KorvaneLot &other) const = default;

    static KorvaneLot fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};
size_t qHash(const KorvaneLot &lot, size_t seed = 0);

// A unit category. Pickers select by `id()`; equality covers both fields.
struct KorvaneUnitCategory
{
    qint64 configValueId = 0;
    QString label;

    qint64 id() const { return configValueId; }
    bool operator==(const KorvaneUnitCategory &other) const = default;

    static KorvaneUnitCategory fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};
size_t qHash(const KorvaneUnitCategory &category, size_t seed = 0);

// What the technician chooses from after signing in, in the broker's order.
struct KorvaneCreationOptions
{
    QList<KorvaneLot> lots;
    QList<KorvaneUnitCategory> unitCategories;

    static KorvaneCreationOptions fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace wrenlow
