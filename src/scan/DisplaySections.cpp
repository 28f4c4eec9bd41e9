#include "scan/DisplaySections.h"

#include "scan/ProfileHelpers.h"

#include <QRegularExpression>

#include <algorithm>

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

// Real Apple silicon reports its graphics core count as a string of digits, older systems as a number.
std::optional<QString> coreCount(const QJsonObject &graphics)
{
    if (auto number = profile::intText(graphics, QStringLiteral("sppci_cores")))
        return number;
    const QJsonValue value = graphics.value(u"sppci_cores");
    if (!value.isString())
        return std::nullopt;
    const QString digits = value.toString();
    const bool allDigits = !digits.isEmpty() &&
                           std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return allDigits ? std::optional<QString>(digits) : std::nullopt;
}

QString numbered(const QString &word, qsizetype position)
{
    return word + u' ' + QString::number(position + 1);
}

void appendDisplays(QList<InventoryValue> &rows, const QJsonObject &graphics)
{
    const QList<QJsonObject> displays = profile::dictionaryArray(graphics.value(u"spdisplays_ndrvs"));
    for (qsizetype q = 0; q < displays.size(); ++q) {
        const QString label = displays.size() == 1 ? QStringLiteral("Display") : numbered(QStringLiteral("Display"), q);
        const QString name = profile::text(displays.at(q), {QStringLiteral("_name")}, label);
        const QString resolution =
            profile::text(displays.at(q),
                          {QStringLiteral("_spdisplays_resolution"), QStringLiteral("spdisplays_pixelresolution"),
                           QStringLiteral("_spdisplays_pixels")},
                          QStringLiteral("Resolution not reported"));
        rows.append({label, name + QStringLiteral(" | ") + resolution});
    }
}

// The uptime pipeline's sed only cuts a plural "users" tail; macOS prints "1 user" for a single login.
QString withoutUserTail(const QString &uptime)
{
    static const QRegularExpression userTail(QStringLiteral(", *[0-9]* user.*"));
    QString cut = uptime;
    cut.remove(userTail);
    return cut;
}

} // namespace

InventorySection graphicsSection(const QJsonObject &profile)
{
    QList<InventoryValue> rows;
    const QList<QJsonObject> processors = profile::dictionaryArray(profile.value(u"SPDisplaysDataType"));
    for (qsizetype p = 0; p < processors.size(); ++p) {
        const QJsonObject &graphics = processors.at(p);
        const QString label = p == 0 ? QStringLiteral("Graphics") : numbered(QStringLiteral("Graphics"), p);
        rows.append(
            {label,
             profile::text(graphics, {QStringLiteral("sppci_model"), QStringLiteral("_name")}, profile::notReported()),
             State::Good});
        if (const auto cores = coreCount(graphics))
            rows.append({label + QStringLiteral(" cores"), *cores});
        appendDisplays(rows, graphics);
    }
    std::optional<QString> message;
    if (rows.isEmpty())
        message = QStringLiteral("No display controller details were reported.");
    return {QStringLiteral("graphics"), QStringLiteral("Graphics & Displays"), QStringLiteral("display"), rows,
            message};
}

InventorySection osSection(const QString &productVersion, const QString &buildVersion, const QString &architecture,
                           const QString &bootText, const QString &uptimeText)
{
    const auto orNotReported = [](const QString &text) { return text.isEmpty() ? profile::notReported() : text; };
    const QList<InventoryValue> rows{
        {QStringLiteral("Version"), productVersion, State::Good},
        {QStringLiteral("Build"), buildVersion},
        {QStringLiteral("Architecture"), architecture},
        {QStringLiteral("Uptime"), orNotReported(withoutUserTail(uptimeText))},
        {QStringLiteral("Boot record"), orNotReported(bootText)},
    };
    return {QStringLiteral("macos"), QStringLiteral("macOS"), QStringLiteral("apple.logo"), rows, std::nullopt};
}

} // namespace wrenlow::builders
