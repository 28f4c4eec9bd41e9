// Times building the canonical unit report and the saved report envelope for each fixture snapshot, as objects
// and as the bytes the store writes.
#include "report/MacCanonicalInventoryBuilder.h"
#include "report/WrenlowReportEnvelope.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>

using namespace wrenlow;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int runs = 20000;
    for (const char *name : {"macbook-apple-silicon", "intel-desktop", "not-reported", "empty"}) {
        QFile file(QStringLiteral(WRENLOW_REPORT_FIXTURES "/") + QString::fromLatin1(name) + QStringLiteral(".json"));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const InventorySnapshot snapshot =
            InventorySnapshot::fromJson(QJsonDocument::fromJson(file.readAll()).object());

        qsizetype keep = 0; // keeps the optimiser from dropping the work
        double microseconds[2] = {};
        for (const bool asBytes : {false, true}) {
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < runs; ++i) {
                const QJsonObject canonical = MacCanonicalInventoryBuilder::build(snapshot);
                const QJsonObject envelope =
                    WrenlowReportEnvelope{QStringLiteral("wrenlow.zel.report.v1"), snapshot.collectedAt,
                                          QStringLiteral("UNIT PASSES"), InventoryReportPayload(snapshot),
                                          snapshot.diagnostics}
                        .toJson();
                keep += asBytes ? QJsonDocument(canonical).toJson().size() + QJsonDocument(envelope).toJson().size()
                                : canonical.size() + envelope.size();
            }
            microseconds[asBytes] = double(timer.nsecsElapsed()) / runs / 1000.0;
        }
        std::printf("%-22s build %7.1f us   build + file bytes %7.1f us   (%d runs, %lld)\n", name, microseconds[0],
                    microseconds[1], runs, static_cast<long long>(keep));
    }
    return 0;
}
