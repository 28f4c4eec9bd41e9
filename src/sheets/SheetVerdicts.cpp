#include "sheets/SheetVerdicts.h"

#include <algorithm>

namespace wrenlow {

QString SheetVerdicts::yesNo(bool flag)
{
    return flag ? QStringLiteral("Yes") : QStringLiteral("No");
}

SheetVerdicts SheetVerdicts::from(const InventorySnapshot &snapshot)
{
    QList<DiagnosticState> applicable;
    for (const DiagnosticItem &item : snapshot.diagnostics) {
        if (item.state != DiagnosticState::NotApplicable)
            applicable.append(item.state);
    }
    const auto all = [&](auto test) {
        return !applicable.isEmpty() && std::all_of(applicable.cbegin(), applicable.cend(), test);
    };
    const auto any = [&](DiagnosticState state) { return applicable.contains(state); };

    SheetVerdicts verdicts;
    verdicts.allComplete = all([](DiagnosticState state) { return isComplete(state); });
    const UnitVerdict verdict = unitVerdict(snapshot.diagnostics);
    verdicts.allPassed = verdict == UnitVerdict::Pass;
    verdicts.anyFail = verdict == UnitVerdict::Fail;
    verdicts.anyReview = any(DiagnosticState::Review);
    const DiagnosticItem *camera = snapshot.findDiagnostic(QStringLiteral("camera"));
    verdicts.hasWebcam = camera && !camera->devices.isEmpty();
    const DiagnosticItem *security = snapshot.findDiagnostic(QStringLiteral("mac-security"));
    verdicts.securityState = security ? rawValue(security->state) : QString();
    return verdicts;
}

QString SheetVerdicts::passVerdict() const
{
    if (anyFail || allPassed)
        return yesNo(!anyFail);
    return {};
}

QString SheetVerdicts::checkVerdict() const
{
    if (anyFail || allPassed)
        return yesNo(!anyFail);
    return allComplete ? QStringLiteral("Review") : QStringLiteral("No");
}

QString SheetVerdicts::reviewVerdict() const
{
    if (anyFail || allPassed)
        return yesNo(!anyFail);
    return anyReview ? QStringLiteral("Review") : QString();
}

} // namespace wrenlow
