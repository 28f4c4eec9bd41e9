// Arbitrary snapshots and routing input into the payload builder: a validation message is fine; a crash,
// undefined behaviour, another error or a payload whose rows lose columns is not.
#include "common/UtcTime.h"
#include "scan/InventoryModel.h"
#include "sheets/MacUploadPayloadBuilder.h"
#include "sheets/SheetsClientError.h"
#include "sheets/UploadOperatorInput.h"

#include <QJsonObject>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using namespace wrenlow;

// The keys, labels and ids the builder looks for (and a few telling values), so that the fuzzer reaches past
// the validation. The last one is the empty text.
const QStringList &knownTexts()
{
    static const QStringList texts =
        QStringLiteral(
            "identity;processor;memory;drives;graphics;battery;macos;firmware;security;camera;mac-security;"
            "Serial number;Model;Model number;Apple silicon;Processor;Installed;Disk 1;Disk 2 SMART;Graphics;"
            "Graphics 2;Graphics cores;Overall health;Maximum capacity;Current charge;Version;Build;"
            "Architecture;System firmware;Activation Lock;FileVault;Gatekeeper;System Integrity Protection;"
            "AMZN; amzn ;Not reported;append;overwrite;MacBook Pro;1 TB | SSD;|;87%;")
            .split(u';');
    return texts;
}

QString text(FuzzedDataProvider &data)
{
    if (data.ConsumeBool())
        return knownTexts().at(data.ConsumeIntegralInRange<qsizetype>(0, knownTexts().size() - 1));
    return QString::fromStdString(data.ConsumeRandomLengthString(48));
}

InventorySnapshot snapshot(FuzzedDataProvider &data)
{
    InventorySnapshot snapshot;
    // Years 1 to 9999, the range the dates are written in.
    snapshot.collectedAt =
        QDateTime::fromMSecsSinceEpoch(data.ConsumeIntegralInRange<qint64>(-62135596800000, 253402300799999), utc);
    snapshot.model = text(data);
    snapshot.architecture = text(data);
    for (int s = data.ConsumeIntegralInRange(0, 12); s > 0; --s) {
        QList<InventoryValue> rows;
        const QString key = text(data);
        for (int r = data.ConsumeIntegralInRange(0, 8); r > 0; --r)
            rows.append(InventoryValue(text(data), text(data)));
        snapshot.sections.append(InventorySection(key, key, QStringLiteral("symbol"), rows, std::nullopt));
    }
    for (int d = data.ConsumeIntegralInRange(0, 14); d > 0; --d) {
        DiagnosticItem item{text(data), text(data), static_cast<DiagnosticState>(data.ConsumeIntegralInRange(0, 5)),
                            {},         {},         {}};
        for (int n = data.ConsumeIntegralInRange(0, 3); n > 0; --n)
            item.devices.append(text(data));
        snapshot.diagnostics.append(item);
    }
    return snapshot;
}

UploadOperatorInput input(FuzzedDataProvider &data)
{
    UploadOperatorInput input;
    for (QString *field :
         {&input.empId, &input.projectId, &input.duplicateAction, &input.assetTag, &input.techName, &input.fsnCode,
          &input.sent, &input.trackingNumber, &input.location, &input.palletNumber, &input.asinCode, &input.description,
          &input.issue, &input.workingOnIt, &input.comments, &input.unitPasses})
        *field = text(data);
    return input;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // The short input first: whatever is left describes the unit.
    const UploadOperatorInput routing = input(data);
    const InventorySnapshot unit = snapshot(data);
    try {
        const QJsonObject payload = MacUploadPayloadBuilder::build(unit, routing);
        const QJsonObject rows = payload.value(QStringLiteral("clientPreparedRows")).toObject();
        if (payload.size() != 20 || rows.value(QStringLiteral("standard")).toObject().size() != 34 ||
            rows.value(QStringLiteral("els")).toObject().size() != 15 ||
            rows.value(QStringLiteral("project")).toObject().size() != 23 ||
            rows.value(QStringLiteral("amazonReturns")).toObject().size() != 17 ||
            payload.value(QStringLiteral("reportId")).toString().size() != 69)
            std::abort();
    } catch (const SheetsClientError &error) {
        if (error.kind() != SheetsClientError::Kind::Server)
            std::abort();
    }
    return 0;
}
