#include "sheets/PayloadValues.h"

#include "common/TextRules.h"

#include <QCryptographicHash>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

namespace wrenlow::payload {

namespace {

bool isGraphicsRow(const InventoryValue &row)
{
    return row.label == u"Graphics" || (row.label.startsWith(u"Graphics ") && !row.label.contains(u"cores"));
}

QStringList barPieces(const QString &text)
{
    return text.split(u'|', Qt::SkipEmptyParts);
}

} // namespace

std::optional<QString> nonEmpty(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QString compactCapacity(const QString &text)
{
    QString compact = text;
    return compact.remove(u' ');
}

QString percentage(const QString &text)
{
    QString digits = text;
    return digits.remove(u'%').trimmed();
}

QString storageSummary(const InventorySection &section)
{
    QStringList sizes;
    for (const InventoryValue &row : section.values) {
        if (!isDiskSummaryRow(row))
            continue;
        const QStringList pieces = barPieces(row.value);
        const QString size = pieces.isEmpty() ? row.value : trimmedOfBlanks(pieces.first());
        if (!size.isEmpty())
            sizes.append(compactCapacity(size));
    }
    return sizes.join(u" / ");
}

QJsonArray driveRows(const InventorySection &section)
{
    QJsonArray drives;
    for (const InventoryValue &row : section.values) {
        if (!isDiskSummaryRow(row))
            continue;
        const QStringList pieces = barPieces(row.value);
        drives.append(QJsonObject{
            {QStringLiteral("size"), pieces.isEmpty() ? QString() : trimmedOfBlanks(pieces.at(0))},
            {QStringLiteral("connection"), QStringLiteral("Internal")},
            {QStringLiteral("model"),
             pieces.size() < 2 ? QStringLiteral("Apple Storage") : trimmedOfBlanks(pieces.at(1))},
        });
    }
    return drives;
}

QJsonArray graphicsRows(const InventorySection &section)
{
    QJsonArray graphics;
    for (const InventoryValue &row : section.values) {
        if (!isGraphicsRow(row))
            continue;
        graphics.append(QJsonObject{
            {QStringLiteral("name"), row.value},
            {QStringLiteral("role"), QStringLiteral("integrated")},
            {QStringLiteral("source"), QStringLiteral("Wrenlow Zel macOS")},
        });
    }
    return graphics;
}

QString wrenlowDate(const QDateTime &moment)
{
    // The C locale keeps the digits ASCII whatever the technician's region is.
    return QLocale::c().toString(moment.toLocalTime(), u"MM/dd/yyyy");
}

QString makeReportID(const InventorySnapshot &snapshot, const QString &empId, const QString &project,
                     const QString &serial)
{
    // Bars inside the parts are left as they are: the id only has to be stable, not reversible.
    const QString text =
        QStringList{QStringLiteral("wrenlow-zel"), isoDateText(snapshot.collectedAt), empId, project, serial}.join(
            u'|');
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("wzel-") + QString::fromLatin1(digest.toHex());
}

} // namespace wrenlow::payload
