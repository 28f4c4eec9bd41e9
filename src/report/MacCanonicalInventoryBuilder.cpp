#include "report/MacCanonicalInventoryBuilder.h"

#include "common/TextRules.h"

#include "scan/InventoryModel.h"

#include <QRegularExpression>

#include <cmath>

#ifdef Q_OS_MACOS
#include <CoreFoundation/CoreFoundation.h>
#endif

namespace wrenlow {

namespace {

// The short version string of the running application's bundle when it states one as text, an empty text too;
// nothing where there is no bundle (other systems, the tests and tools), so the report then names the fallback.
std::optional<QString> bundleShortVersion()
{
#ifdef Q_OS_MACOS
    const CFBundleRef bundle = CFBundleGetMainBundle();
    const CFTypeRef value =
        bundle ? CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleShortVersionString")) : nullptr;
    if (value && CFGetTypeID(value) == CFStringGetTypeID())
        return QString::fromCFString(static_cast<CFStringRef>(value));
#endif
    return std::nullopt;
}

// A number too large for a double would be written as null; such a number is treated as no number at all.
std::optional<double> finiteNumber(const QString &digits)
{
    const double number = digits.toDouble();
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

} // namespace

QJsonObject MacCanonicalInventoryBuilder::build(const InventorySnapshot &snapshot, bool overrideUsed)
{
    QJsonObject root{{QStringLiteral("report_schema"), QStringLiteral("wrenlow-unit-v1")},
                     {QStringLiteral("tool_version"), bundleShortVersion().value_or(QStringLiteral("0.1.0"))},
                     {QStringLiteral("collected_at"), isoDateText(snapshot.collectedAt)},
                     {QStringLiteral("fields"), buildFields(snapshot)}};
    root.insert(QStringLiteral("memory"), buildMemory(snapshot));
    root.insert(QStringLiteral("storage"), buildStorage(snapshot));
    root.insert(QStringLiteral("graphics"), buildGraphics(snapshot));
    root.insert(QStringLiteral("display"), buildDisplay(snapshot));
    root.insert(QStringLiteral("connectivity"), buildConnectivity(snapshot));
    root.insert(QStringLiteral("security"), buildSecurity(snapshot));
    root.insert(QStringLiteral("battery"), buildBattery(snapshot));
    if (const auto camera = buildPresence(snapshot, QStringLiteral("camera")))
        root.insert(QStringLiteral("camera_hardware"), *camera);
    if (const auto fingerprint = buildPresence(snapshot, QStringLiteral("fingerprint")))
        root.insert(QStringLiteral("fingerprint_hardware"), *fingerprint);
    root.insert(QStringLiteral("diagnostics"), buildDiagnostics(snapshot, overrideUsed));
    return root;
}

QJsonObject MacCanonicalInventoryBuilder::buildFields(const InventorySnapshot &snapshot)
{
    const InventorySection identity = section(snapshot, QStringLiteral("identity"));
    const InventorySection processor = section(snapshot, QStringLiteral("processor"));
    const InventorySection macos = section(snapshot, QStringLiteral("macos"));
    const InventorySection firmware = section(snapshot, QStringLiteral("firmware"));

    // The processor section carries exactly one of these two rows, depending on the processor family.
    QString processorModel = value(processor, QStringLiteral("Apple silicon"));
    if (processorModel.isEmpty())
        processorModel = value(processor, QStringLiteral("Processor"));

    QJsonObject fields;
    known(fields, QStringLiteral("manufacturer"), value(identity, QStringLiteral("Manufacturer")));
    known(fields, QStringLiteral("unit_model"), value(identity, QStringLiteral("Model")));
    known(fields, QStringLiteral("processor_model"), processorModel);
    known(fields, QStringLiteral("operating_system"), u"macOS " + value(macos, QStringLiteral("Version")));
    known(fields, QStringLiteral("bios_version"), value(firmware, QStringLiteral("System firmware")));
    known(fields, QStringLiteral("os_build"), value(macos, QStringLiteral("Build")));
    fields.insert(QStringLiteral("keyboard_language"), observation(QStringLiteral("US English")));
    return fields;
}

InventorySection MacCanonicalInventoryBuilder::section(const InventorySnapshot &snapshot, const QString &key)
{
    return snapshot.sectionOrPlaceholder(key);
}

QString MacCanonicalInventoryBuilder::value(const InventorySection &section, const QString &label)
{
    // The report also leaves out a figure the scan could not work out.
    const QString text = section.reportedValue(label);
    return text.compare(u"Cannot calculate", Qt::CaseInsensitive) == 0 ? QString() : text;
}

void MacCanonicalInventoryBuilder::put(QJsonObject &object, const QString &key, const QString &value)
{
    const QString text = value.trimmed();
    if (!text.isEmpty())
        object.insert(key, text);
}

void MacCanonicalInventoryBuilder::known(QJsonObject &object, const QString &key, const QString &value)
{
    if (!value.isEmpty())
        object.insert(key, observation(value));
}

QJsonObject MacCanonicalInventoryBuilder::observation(const QJsonValue &value)
{
    return {{QStringLiteral("state"), QStringLiteral("known")}, {QStringLiteral("value"), value}};
}

QJsonObject MacCanonicalInventoryBuilder::unknown()
{
    return {{QStringLiteral("state"), QStringLiteral("unknown")}};
}

std::optional<double> MacCanonicalInventoryBuilder::firstNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("[0-9]+(?:\\.[0-9]+)?"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return finiteNumber(match.captured(0));
}

std::optional<double> MacCanonicalInventoryBuilder::refreshRate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("@\\s*([0-9]+(?:\\.[0-9]+)?)\\s*Hz"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return finiteNumber(match.captured(1));
}

bool MacCanonicalInventoryBuilder::isAppleSilicon(const InventorySnapshot &snapshot)
{
    return snapshot.architecture == u"arm64";
}

QStringList MacCanonicalInventoryBuilder::barSeparatedParts(const QString &text)
{
    QStringList parts = text.split(u'|', Qt::SkipEmptyParts);
    for (QString &part : parts)
        part = trimmedOfBlanks(part);
    return parts;
}

} // namespace wrenlow
