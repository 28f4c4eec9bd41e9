// The resolve and commit request bodies: the canonical report with the routing keys beside its blocks.
#include "report/MacCanonicalInventoryBuilder.h"

#include "scan/InventoryModel.h"

namespace wrenlow {

QJsonObject MacCanonicalInventoryBuilder::buildResolveBody(const InventorySnapshot &snapshot, qint64 lotId,
                                                           std::optional<qint64> unitCategoryConfigValueId,
                                                           const QString &assetTag)
{
    QJsonObject body = build(snapshot);
    body.insert(QStringLiteral("lot_id"), lotId);
    if (unitCategoryConfigValueId)
        body.insert(QStringLiteral("unit_category_config_value_id"), *unitCategoryConfigValueId);
    put(body, QStringLiteral("asset_tag"), assetTag);
    putIdentity(body, snapshot);
    return body;
}

QJsonObject MacCanonicalInventoryBuilder::buildCommit(const InventorySnapshot &snapshot, qint64 lotId,
                                                      std::optional<qint64> unitCategoryConfigValueId,
                                                      const QString &assetTag, std::optional<qint64> unitId,
                                                      bool confirmDuplicateMatchCreation, const QUuid &submissionId)
{
    QJsonObject body = build(snapshot);
    // QUuid writes its hexadecimal digits in lower case, as the backend expects them.
    body.insert(QStringLiteral("submission_id"), submissionId.toString(QUuid::WithoutBraces));
    body.insert(QStringLiteral("lot_id"), lotId);
    // The category goes only with a new unit, the asset tag only with a commit onto an existing one.
    if (!unitId && unitCategoryConfigValueId)
        body.insert(QStringLiteral("unit_category_config_value_id"), *unitCategoryConfigValueId);
    putIdentity(body, snapshot);
    body.insert(QStringLiteral("confirm_duplicate_match_creation"), confirmDuplicateMatchCreation);
    if (unitId) {
        body.insert(QStringLiteral("unit_id"), *unitId);
        put(body, QStringLiteral("asset_tag"), assetTag);
    }
    return body;
}

void MacCanonicalInventoryBuilder::putIdentity(QJsonObject &body, const InventorySnapshot &snapshot)
{
    const InventorySection identity = section(snapshot, QStringLiteral("identity"));
    const QString serial = value(identity, QStringLiteral("Serial number"));
    put(body, QStringLiteral("unit_serial_number"), serial);
    put(body, QStringLiteral("bios_serial_number"), serial);
    put(body, QStringLiteral("system_uuid"), value(identity, QStringLiteral("System UUID")));
}

} // namespace wrenlow
