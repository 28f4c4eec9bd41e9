#include "scan/InventoryModel.h"

#include "common/JsonFields.h"
#include "common/WrenlowError.h"

#include <QHashFunctions>
#include <QJsonArray>

#include <array>
#include <utility>

namespace wrenlow {

namespace {

constexpr std::array valueStateNames{u"normal", u"good", u"warning"};
constexpr std::array diagnosticStateNames{u"Ready", u"Running", u"Pass", u"Fail", u"Review", u"N/A"};

template <typename Enum, std::size_t N>
std::optional<Enum> enumFromRaw(const std::array<const char16_t *, N> &names, const QString &raw)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (raw == QStringView(names[i]))
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

template <typename Enum>
Enum requireEnum(const QJsonObject &object, const QString &key, std::optional<Enum> (*fromRaw)(const QString &))
{
    const QString raw = json::requireString(object, key);
    const auto value = fromRaw(raw);
    if (!value)
        throw PlatformError(QStringLiteral("The data could not be read: “%1” is not a known state.").arg(raw));
    return *value;
}

QUuid requireUuid(const QJsonObject &object, const QString &key)
{
    const QString text = json::requireString(object, key);
    // The reader answers every text it cannot read with the nil id, so only the text written back tells the nil
    // id itself from a text that is no UUID.
    const QUuid uuid = QUuid::fromString(text);
    if (text.compare(uuid.toString(QUuid::WithoutBraces), Qt::CaseInsensitive) != 0)
        throw PlatformError(QStringLiteral("The data could not be read: “%1” is not a UUID.").arg(text));
    return uuid;
}

} // namespace

QString rawValue(InventoryValueState state)
{
    return QString::fromUtf16(valueStateNames[static_cast<std::size_t>(state)]);
}

std::optional<InventoryValueState> inventoryValueStateFromRaw(const QString &raw)
{
    return enumFromRaw<InventoryValueState>(valueStateNames, raw);
}

QString rawValue(DiagnosticState state)
{
    return QString::fromUtf16(diagnosticStateNames[static_cast<std::size_t>(state)]);
}

std::optional<DiagnosticState> diagnosticStateFromRaw(const QString &raw)
{
    return enumFromRaw<DiagnosticState>(diagnosticStateNames, raw);
}

size_t qHash(InventoryValueState state, size_t seed) noexcept
{
    return ::qHash(static_cast<int>(state), seed);
}

size_t qHash(DiagnosticState state, size_t seed) noexcept
{
    return ::qHash(static_cast<int>(state), seed);
}

size_t qHash(const InventoryValue &row, size_t seed)
{
    return qHashMulti(seed, row.id, row.label, row.value, row.state);
}

size_t qHash(const InventorySection &section, size_t seed)
{
    return qHashMulti(seed, section.id, section.key, section.title, section.symbol, section.values,
                      section.message.has_value(), section.message.value_or(QString()));
}

size_t qHash(const DiagnosticItem &item, size_t seed)
{
    return qHashMulti(seed, item.id, item.title, item.state, item.detail, item.symbol, item.devices);
}

bool isComplete(DiagnosticState state)
{
    return state != DiagnosticState::Ready && state != DiagnosticState::Running;
}

QList<DiagnosticState> allDiagnosticStates()
{
    return {DiagnosticState::Ready, DiagnosticState::Running, DiagnosticState::Pass,
            DiagnosticState::Fail,  DiagnosticState::Review,  DiagnosticState::NotApplicable};
}

QString isoDateText(const QDateTime &date)
{
    return date.toUTC().toString(Qt::ISODate);
}

QDateTime requireIsoDate(const QJsonObject &object, const QString &key)
{
    const QString text = json::requireString(object, key);
    const QDateTime date = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!date.isValid())
        throw PlatformError(QStringLiteral("The data could not be read: “%1” is not a date.").arg(text));
    return date;
}

InventoryValue::InventoryValue(QString label, QString value, InventoryValueState state)
    : id(QUuid::createUuid())
    , label(std::move(label))
    , value(std::move(value))
    , state(state)
{}

QJsonObject InventoryValue::toJson() const
{
    return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
            {QStringLiteral("label"), label},
            {QStringLiteral("value"), value},
            {QStringLiteral("state"), rawValue(state)}};
}

InventoryValue InventoryValue::fromJson(const QJsonObject &object)
{
    InventoryValue row;
    row.id = requireUuid(object, QStringLiteral("id"));
    row.label = json::requireString(object, QStringLiteral("label"));
    row.value = json::requireString(object, QStringLiteral("value"));
    row.state = requireEnum(object, QStringLiteral("state"), &inventoryValueStateFromRaw);
    return row;
}

InventorySection::InventorySection(QString key, QString title, QString symbol, QList<InventoryValue> values,
                                   std::optional<QString> message)
    : id(key)
    , key(std::move(key))
    , title(std::move(title))
    , symbol(std::move(symbol))
    , values(std::move(values))
    , message(std::move(message))
{}

const InventoryValue *InventorySection::findValue(const QString &label) const
{
    for (const InventoryValue &row : values) {
        if (row.label == label)
            return &row;
    }
    return nullptr;
}

QJsonObject InventorySection::toJson() const
{
    QJsonObject object{{QStringLiteral("id"), id},
                       {QStringLiteral("key"), key},
                       {QStringLiteral("title"), title},
                       {QStringLiteral("symbol"), symbol},
                       {QStringLiteral("values"), json::encodedList(values)}};
    if (message)
        object.insert(QStringLiteral("message"), *message);
    return object;
}

InventorySection InventorySection::fromJson(const QJsonObject &object)
{
    InventorySection section;
    section.id = json::requireString(object, QStringLiteral("id"));
    section.key = json::requireString(object, QStringLiteral("key"));
    section.title = json::requireString(object, QStringLiteral("title"));
    section.symbol = json::requireString(object, QStringLiteral("symbol"));
    section.values = json::decodedList<InventoryValue>(object, QStringLiteral("values"));
    section.message = json::optionalString(object, QStringLiteral("message"));
    return section;
}

QJsonObject DiagnosticItem::toJson() const
{
    return {{QStringLiteral("id"), id},
            {QStringLiteral("title"), title},
            {QStringLiteral("state"), rawValue(state)},
            {QStringLiteral("detail"), detail},
            {QStringLiteral("symbol"), symbol},
            {QStringLiteral("devices"), QJsonArray::fromStringList(devices)}};
}

DiagnosticItem DiagnosticItem::fromJson(const QJsonObject &object)
{
    DiagnosticItem item;
    item.id = json::requireString(object, QStringLiteral("id"));
    item.title = json::requireString(object, QStringLiteral("title"));
    item.state = requireEnum(object, QStringLiteral("state"), &diagnosticStateFromRaw);
    item.detail = json::requireString(object, QStringLiteral("detail"));
    item.symbol = json::requireString(object, QStringLiteral("symbol"));
    for (const QJsonValue &device : json::requireArray(object, QStringLiteral("devices")))
        item.devices.append(json::stringElement(device, QStringLiteral("devices")));
    return item;
}

const InventorySection *InventorySnapshot::findSection(const QString &key) const
{
    for (const InventorySection &section : sections) {
        if (section.key == key)
            return &section;
    }
    return nullptr;
}

const DiagnosticItem *InventorySnapshot::findDiagnostic(const QString &id) const
{
    for (const DiagnosticItem &item : diagnostics) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

DiagnosticItem *InventorySnapshot::findDiagnostic(const QString &id)
{
    return const_cast<DiagnosticItem *>(std::as_const(*this).findDiagnostic(id));
}

InventorySection InventorySnapshot::sectionOrPlaceholder(const QString &key) const
{
    if (const InventorySection *found = findSection(key))
        return *found;
    return InventorySection(key, key, QStringLiteral("questionmark"), {}, std::nullopt);
}

QString InventorySection::reportedValue(const QString &label) const
{
    for (const InventoryValue &row : values) {
        if (row.label.compare(label, Qt::CaseInsensitive) != 0)
            continue;
        const QString text = row.value.trimmed();
        return text.compare(u"Not reported", Qt::CaseInsensitive) == 0 ? QString() : text;
    }
    return {};
}

bool isLaptopName(const QString &machineName)
{
    return machineName.contains(u"MacBook", Qt::CaseInsensitive);
}

bool isDiskSummaryRow(const InventoryValue &row)
{
    return row.label.startsWith(u"Disk ") && row.label.split(u' ', Qt::SkipEmptyParts).size() == 2;
}

UnitVerdict unitVerdict(const QList<DiagnosticItem> &diagnostics)
{
    bool anyApplicable = false;
    bool allPassed = true;
    for (const DiagnosticItem &item : diagnostics) {
        if (item.state == DiagnosticState::Fail)
            return UnitVerdict::Fail;
        if (item.state != DiagnosticState::NotApplicable) {
            anyApplicable = true;
            allPassed = allPassed && item.state == DiagnosticState::Pass;
        }
    }
    return anyApplicable && allPassed ? UnitVerdict::Pass : UnitVerdict::Open;
}

QJsonObject InventorySnapshot::toJson() const
{
    return {{QStringLiteral("collectedAt"), isoDateText(collectedAt)},
            {QStringLiteral("elapsedSeconds"), elapsedSeconds},
            {QStringLiteral("model"), model},
            {QStringLiteral("serial"), serial},
            {QStringLiteral("architecture"), architecture},
            {QStringLiteral("osVersion"), osVersion},
            {QStringLiteral("sections"), json::encodedList(sections)},
            {QStringLiteral("diagnostics"), json::encodedList(diagnostics)}};
}

InventorySnapshot InventorySnapshot::fromJson(const QJsonObject &object)
{
    InventorySnapshot snapshot;
    snapshot.collectedAt = requireIsoDate(object, QStringLiteral("collectedAt"));
    snapshot.elapsedSeconds = json::requireNumber(object, QStringLiteral("elapsedSeconds"));
    snapshot.model = json::requireString(object, QStringLiteral("model"));
    snapshot.serial = json::requireString(object, QStringLiteral("serial"));
    snapshot.architecture = json::requireString(object, QStringLiteral("architecture"));
    snapshot.osVersion = json::requireString(object, QStringLiteral("osVersion"));
    snapshot.sections = json::decodedList<InventorySection>(object, QStringLiteral("sections"));
    snapshot.diagnostics = json::decodedList<DiagnosticItem>(object, QStringLiteral("diagnostics"));
    return snapshot;
}

} // namespace wrenlow
