// Arbitrary tool output into the scan's section and diagnostic builders: whatever the tools print, a scan
// holds ten sections and twelve diagnostics and its snapshot reads back.
#include "common/UtcTime.h"
#include "common/CommandRunner.h"
#include "scan/MacInventoryService.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace wrenlow;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // NUL bytes separate the outputs, in the scan's order: profile JSON, battery registry, then the texts.
    const QList<QByteArray> pieces =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const auto text = [&](qsizetype i) {
        return i < pieces.size() ? QString::fromUtf8(pieces.at(i)).trimmed() : QString();
    };

    MacToolOutputs outputs;
    outputs.profile = CommandRunner::parseJsonObject(text(0)).value_or(QJsonObject());
    outputs.batteryTelemetry = BatteryTelemetry::fromRegistry({text(1), QString(), 0});
    outputs.architecture = text(2);
    outputs.productVersion = text(3);
    outputs.buildVersion = text(4);
    outputs.hardwarePorts = text(5);
    outputs.security = {text(6), text(7), text(8), text(9)};
    outputs.bootTime = text(10);
    outputs.uptime = text(11);
    outputs.diagnostics = {text(12), text(13)};

    InventorySnapshot snapshot = MacInventoryService::build(outputs);
    if (snapshot.sections.size() != 10 || snapshot.diagnostics.size() != 12)
        std::abort();
    snapshot.collectedAt = QDateTime::fromSecsSinceEpoch(0, utc);
    const InventorySnapshot reread = InventorySnapshot::fromJson(snapshot.toJson());
    if (reread.sections != snapshot.sections || reread.diagnostics != snapshot.diagnostics)
        std::abort();
    return 0;
}
