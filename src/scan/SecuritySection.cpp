#include "scan/SecuritySection.h"

namespace wrenlow::builders {

namespace {

using State = InventoryValueState;

// A protection row: the settled word when the tool's text says so, else the text itself for the technician.
InventoryValue protectionRow(const QString &label, const QString &output, QStringView sign, const QString &word,
                             State otherwise)
{
    if (output.contains(sign, Qt::CaseInsensitive))
        return {label, word, State::Good};
    return {label, output.isEmpty() ? QStringLiteral("Unknown") : output, otherwise};
}

// Enrollment is worth the technician's attention, so an enrolled Mac is the warning case.
InventoryValue enrollmentRow(const QString &label, bool enrolled)
{
    return enrolled ? InventoryValue(label, QStringLiteral("Enrolled"), State::Warning)
                    : InventoryValue(label, QStringLiteral("Not enrolled"), State::Good);
}

} // namespace

InventorySection securitySection(const SecurityToolOutput &output)
{
    const QList<InventoryValue> rows{
        protectionRow(QStringLiteral("System Integrity Protection"), output.integrityProtection, u"enabled",
                      QStringLiteral("Enabled"), State::Warning),
        protectionRow(QStringLiteral("Gatekeeper"), output.gatekeeper, u"enabled", QStringLiteral("Enabled"),
                      State::Warning),
        protectionRow(QStringLiteral("FileVault"), output.fileVault, u"on", QStringLiteral("On"), State::Normal),
        enrollmentRow(QStringLiteral("MDM Enrollment"),
                      output.enrollment.contains(u"MDM enrollment: Yes", Qt::CaseInsensitive)),
        enrollmentRow(QStringLiteral("Automated Device Enrollment"),
                      output.enrollment.contains(u"Enrolled via DEP: Yes", Qt::CaseInsensitive)),
    };
    return {QStringLiteral("security"), QStringLiteral("macOS Security"), QStringLiteral("lock.shield"), rows,
            std::nullopt};
}

} // namespace wrenlow::builders
