// The hardware presence blocks and the diagnostics block of the canonical report.
#include "report/MacCanonicalInventoryBuilder.h"

#include "scan/InventoryModel.h"

#include <QJsonArray>

namespace wrenlow {

namespace {

// The hands-on tests whose outcome the report carries item by item.
bool isReportedTest(const QString &id)
{
    return id == u"keyboard" || id == u"sound" || id == u"microphone" || id == u"camera" || id == u"fingerprint";
}

// The report's verdict; an open one is left out.
std::optional<QString> unitResult(const QList<DiagnosticItem> &diagnostics)
{
    switch (unitVerdict(diagnostics)) {
    case UnitVerdict::Fail:
        return QStringLiteral("fail");
    case UnitVerdict::Pass:
        return QStringLiteral("pass");
    case UnitVerdict::Open:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<QJsonObject> MacCanonicalInventoryBuilder::buildPresence(const InventorySnapshot &snapshot,
                                                                       const QString &key)
{
    // The state is not consulted: hardware that was found stays present even when its test failed.
    const DiagnosticItem *item = snapshot.findDiagnostic(key);
    if (!item || item->devices.isEmpty())
        return std::nullopt;
    return QJsonObject{{QStringLiteral("state"), QStringLiteral("known")},
                       {QStringLiteral("present"), true},
                       {QStringLiteral("devices"), QJsonArray::fromStringList(item->devices)}};
}

QJsonObject MacCanonicalInventoryBuilder::buildDiagnostics(const InventorySnapshot &snapshot, bool overrideUsed)
{
    QJsonArray items;
    for (const DiagnosticItem &diagnostic : snapshot.diagnostics) {
        const bool decided = diagnostic.state == DiagnosticState::Pass || diagnostic.state == DiagnosticState::Fail;
        if (!decided || !isReportedTest(diagnostic.id))
            continue;
        QJsonObject item{{QStringLiteral("key"), diagnostic.id},
                         {QStringLiteral("state"),
                          diagnostic.state == DiagnosticState::Pass ? QStringLiteral("pass") : QStringLiteral("fail")}};
        if (!diagnostic.detail.isEmpty())
            item.insert(QStringLiteral("detail"), diagnostic.detail);
        if (!diagnostic.devices.isEmpty())
            item.insert(QStringLiteral("devices"), QJsonArray::fromStringList(diagnostic.devices));
        items.append(item);
    }

    QJsonObject block{{QStringLiteral("state"), QStringLiteral("known")},
                      {QStringLiteral("override_used"), overrideUsed},
                      {QStringLiteral("items"), items}};
    if (const auto result = unitResult(snapshot.diagnostics))
        block.insert(QStringLiteral("unit_result"), *result);
    return block;
}

} // namespace wrenlow
