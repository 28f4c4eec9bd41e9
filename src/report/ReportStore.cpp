#include "report/ReportStore.h"

#include "common/AtomicFile.h"
#include "report/MacCanonicalInventoryBuilder.h"
#include "report/WrenlowReportEnvelope.h"

#include <QDir>
#include <QJsonDocument>

namespace wrenlow {

namespace {

// Both files write every "/" in a text as "\/", the form JSON writers on the Mac give these files, so that a
// report saved here reads the same as one saved there. Qt's JSON text holds "/" only inside strings, and never
// escaped, so one pass over the whole text escapes exactly those.
QByteArray reportFileText(const QJsonObject &object)
{
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return text.replace('/', "\\/");
}

} // namespace

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
    writeFileAtomically(latestReportURL(), reportFileText(envelope.toJson()));

    const QJsonObject canonical = MacCanonicalInventoryBuilder::build(snapshot);
    writeFileAtomically(canonicalPreviewURL(), reportFileText(canonical));
}

} // namespace wrenlow
