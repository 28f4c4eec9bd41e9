// Times building the canonical unit report and the saved report envelope for each fixture snapshot.
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
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i) {
            const QJsonObject canonical = MacCanonicalInventoryBuilder::build(snapshot);
            const WrenlowReportEnvelope envelope{QStringLiteral("wrenlow.zel.report.v1"), snapshot.collectedAt,
                                                 QStringLiteral("UNIT PASSES"), InventoryReportPayload(snapshot),
                                                 snapshot.diagnostics};
            keep += canonical.size() + envelope.toJson().size();
        }
        const double built = double(timer.nsecsElapsed()) / runs / 1000.0;

        timer.restart();
        for (int i = 0; i < runs; ++i) {
            const WrenlowReportEnvelope envelope{QStringLiteral("wrenlow.zel.report.v1"), snapshot.collectedAt,
                                                 QStringLiteral("UNIT PASSES"), InventoryReportPayload(snapshot),
                                                 snapshot.diagnostics};
            keep +=
                QJsonDocument(MacCanonicalInventoryBuilder::build(snapshot)).toJson(QJsonDocument::Indented).size() +
                QJsonDocument(envelope.toJson()).toJson(QJsonDocument::Indented).size();
        }
        const double written = double(timer.nsecsElapsed()) / runs / 1000.0;
        std::printf("%-22s build %7.1f us   build + file bytes %7.1f us   (%d runs, %lld)\n", name, built, written,
                    runs, static_cast<long long>(keep));
    }
    return 0;
}
