#include "report/ReportStore.h"

#include "common/AtomicFile.h"
#include "report/MacCanonicalInventoryBuilder.h"
#include "report/WrenlowReportEnvelope.h"

#include <QDir>
#include <QJsonDocument>

namespace wrenlow {

QString ReportStore::reportDirectory()
{
    return QDir::homePath() + u"/Library/Application Support/Wrenlow Zel Mac/Reports";
}

QString ReportStore::latestReportURL()
{
    return reportDirectory() + u"/latest.json";
}

QString ReportStore::canonicalPreviewURL()
{
    return reportDirectory() + u"/canonical-preview.json";
}

void ReportStore::save(const InventorySnapshot &snapshot, const QString &unitResult, const QDateTime &savedAt)
{
    ensureFolder(reportDirectory());

    const WrenlowReportEnvelope envelope{QString::fromUtf16(WrenlowReportEnvelope::reportFormat), savedAt, unitResult,
                                         InventoryReportPayload(snapshot), snapshot.diagnostics};
    writeFileAtomically(latestReportURL(), QJsonDocument(envelope.toJson()).toJson(QJsonDocument::Indented));

    const QJsonObject canonical = MacCanonicalInventoryBuilder::build(snapshot);
    writeFileAtomically(canonicalPreviewURL(), QJsonDocument(canonical).toJson(QJsonDocument::Indented));
}

} // namespace wrenlow
