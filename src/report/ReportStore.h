#pragma once

#include <QDateTime>
#include <QString>

namespace wrenlow {

struct InventorySnapshot;

// Keeps the latest result of the Mac at hand as two local files that every save replaces whole: the saved report
// envelope ("latest.json") and the canonical unit report ("canonical-preview.json"). Paths follow the home folder
// of the moment ($HOME), so nothing is cached.
class ReportStore
{
public:
    ReportStore() = delete;

    static QString reportDirectory();
    static QString latestReportURL();
    static QString canonicalPreviewURL();

    // Writes the envelope, saved at `savedAt`, first, then the canonical report, each atomically. The first
    // failure throws a PlatformError naming the file or folder and why; the later steps do not run.
    static void save(const InventorySnapshot &snapshot, const QString &unitResult,
                     const QDateTime &savedAt = QDateTime::currentDateTimeUtc());
};

} // namespace wrenlow
