#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace wrenlow {

struct InventorySection;
struct InventorySnapshot;

// Turns one scan into the canonical unit report ("wrenlow-unit-v1"), the machine-readable description of the
// Mac that the backend resolves against and that the report store keeps as its preview. Every value is read back
// from the snapshot's sections by key and row label, so the scan's labels are this builder's contract. Building
// never fails: missing rows become absent keys, never nulls.
class MacCanonicalInventoryBuilder
{
public:
    MacCanonicalInventoryBuilder() = delete;

    static QJsonObject build(const InventorySnapshot &snapshot, bool overrideUsed = false);

    // The canonical report plus the routing keys of a unit resolve request.
    static QJsonObject buildResolveBody(const InventorySnapshot &snapshot, qint64 lotId,
                                        std::optional<qint64> unitCategoryConfigValueId, const QString &assetTag);

    // The canonical report plus the keys of a unit commit; the caller chooses the submission id.
    static QJsonObject buildCommit(const InventorySnapshot &snapshot, qint64 lotId,
                                   std::optional<qint64> unitCategoryConfigValueId, const QString &assetTag,
                                   std::optional<qint64> unitId, bool confirmDuplicateMatchCreation,
                                   const QUuid &submissionId);

private:
    // Lookup and value helpers shared by every block.
    static InventorySection section(const InventorySnapshot &snapshot, const QString &key);
    static QString value(const InventorySection &section, const QString &label);
    static void put(QJsonObject &object, const QString &key, const QString &value);
    static void known(QJsonObject &object, const QString &key, const QString &value);
    static QJsonObject observation(const QJsonValue &value);
    static QJsonObject unknown();
    static std::optional<double> firstNumber(const QString &text);
    static std::optional<double> refreshRate(const QString &text);
    static QStringList barSeparatedParts(const QString &text);
    static bool isAppleSilicon(const InventorySnapshot &snapshot);
    static QString installType(const InventorySnapshot &snapshot);

    static QJsonObject buildFields(const InventorySnapshot &snapshot);
    static QJsonObject buildMemory(const InventorySnapshot &snapshot);
    static QJsonObject buildStorage(const InventorySnapshot &snapshot);
    static QJsonObject buildGraphics(const InventorySnapshot &snapshot);
    static QJsonObject buildDisplay(const InventorySnapshot &snapshot);
    static QJsonObject buildConnectivity(const InventorySnapshot &snapshot);
    static QJsonObject buildSecurity(const InventorySnapshot &snapshot);
    static QJsonObject buildBattery(const InventorySnapshot &snapshot);
    static std::optional<QJsonObject> buildPresence(const InventorySnapshot &snapshot, const QString &key);
    static QJsonObject buildDiagnostics(const InventorySnapshot &snapshot, bool overrideUsed);

    // The serial and UUID keys that the resolve and commit bodies share.
    static void putIdentity(QJsonObject &body, const InventorySnapshot &snapshot);
};

} // namespace wrenlow
