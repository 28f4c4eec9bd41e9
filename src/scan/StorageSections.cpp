#include "scan/StorageSections.h"

#include "scan/ProfileHelpers.h"

#include <QSet>

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

// The nested dictionaries of every entry of a profile data type, in walk order.
QList<QJsonObject> nestedDictionaries(const QJsonObject &profile, const QString &dataType)
{
    QList<QJsonObject> found;
    for (const QJsonObject &entry : profile::dictionaryArray(profile.value(dataType)))
        found.append(profile::recursiveDictionaries(entry));
    return found;
}

std::optional<QString> moduleIndexMessage(const QList<InventoryValue> &values)
{
    if (values.size() != 1)
        return std::nullopt;
    return QStringLiteral("Unified or soldered memory may not expose individual module details.");
}

void appendIfPresent(QList<InventoryValue> &rows, const QString &label, const QString &value,
                     State state = State::Normal)
{
    if (!value.isEmpty())
        rows.append({label, value, state});
}

bool isDrive(const QJsonObject &candidate)
{
    return candidate.contains(u"device_model") ||
           (candidate.contains(u"bsd_name") && candidate.contains(u"size") && candidate.contains(u"volumes"));
}

bool isRemovable(const QJsonObject &drive)
{
    const auto says = [&](const QString &key) {
        return profile::text(drive, {key}, QStringLiteral("no")).toLower() == u"yes";
    };
    return says(QStringLiteral("detachable_drive")) || says(QStringLiteral("removable_media"));
}

} // namespace

InventorySection memorySection(const QJsonObject &profile, const QJsonObject &hardware)
{
    QList<InventoryValue> rows{{QStringLiteral("Installed"),
                                profile::text(hardware, {QStringLiteral("physical_memory")}, profile::notReported()),
                                State::Good}};

    int number = 0;
    for (const QJsonObject &module : nestedDictionaries(profile, QStringLiteral("SPMemoryDataType"))) {
        if (!module.contains(u"dimm_size") && !module.contains(u"dimm_speed"))
            continue;
        // A module uses its number even when it adds no rows, so the numbers match the slots.
        const QString label = QStringLiteral("Module ") + QString::number(++number);
        appendIfPresent(rows, label, profile::text(module, {QStringLiteral("dimm_size"), QStringLiteral("_name")}, {}));
        appendIfPresent(rows, label + QStringLiteral(" speed"),
                        profile::text(module, {QStringLiteral("dimm_speed")}, {}));
        appendIfPresent(rows, label + QStringLiteral(" manufacturer"),
                        profile::text(module, {QStringLiteral("dimm_manufacturer")}, {}));
        appendIfPresent(rows, label + QStringLiteral(" part"),
                        profile::text(module, {QStringLiteral("dimm_part_number")}, {}));
    }
    const std::optional<QString> message = moduleIndexMessage(rows);
    return {QStringLiteral("memory"), QStringLiteral("Memory"), QStringLiteral("memorychip"), rows, message};
}

InventorySection drivesSection(const QJsonObject &profile)
{
    QList<QJsonObject> candidates;
    for (const QString &dataType : {QStringLiteral("SPNVMeDataType"), QStringLiteral("SPSerialATADataType")}) {
        for (const QJsonObject &dictionary : nestedDictionaries(profile, dataType)) {
            if (isDrive(dictionary))
                candidates.append(dictionary);
        }
    }

    QList<InventoryValue> rows;
    QSet<QString> seen;
    int number = 0;
    for (const QJsonObject &drive : std::as_const(candidates)) {
        const QString device = profile::text(drive, {QStringLiteral("bsd_name")}, {});
        const QString model = profile::text(drive, {QStringLiteral("device_model"), QStringLiteral("_name")}, {});
        // A disk both reports list is shown once; a skipped removable disk still claims its key.
        const QString identity = device + u'|' + model;
        if (seen.contains(identity))
            continue;
        seen.insert(identity);
        if (isRemovable(drive))
            continue;

        const QString label = QStringLiteral("Disk ") + QString::number(++number);
        const QString name = model.isEmpty() ? QStringLiteral("Internal storage ") + QString::number(number) : model;
        const QString size = profile::text(drive, {QStringLiteral("size")}, profile::notReported());
        const QString smart = profile::text(drive, {QStringLiteral("smart_status")}, {});
        rows.append({label, size + QStringLiteral(" | ") + name, State::Good});
        appendIfPresent(rows, label + QStringLiteral(" device"), device);
        appendIfPresent(rows, label + QStringLiteral(" serial"),
                        profile::text(drive, {QStringLiteral("device_serial")}, {}));
        appendIfPresent(rows, label + QStringLiteral(" firmware"),
                        profile::text(drive, {QStringLiteral("device_revision")}, {}));
        appendIfPresent(rows, label + QStringLiteral(" SMART"), smart,
                        smart.contains(u"verified", Qt::CaseInsensitive) ? State::Good : State::Warning);
    }
    std::optional<QString> message;
    if (rows.isEmpty())
        message = QStringLiteral("No internal physical storage details were reported.");
    return {QStringLiteral("drives"), QStringLiteral("Internal Storage"), QStringLiteral("internaldrive"), rows,
            message};
}

} // namespace wrenlow::builders
