#pragma once

#include "scan/InventoryModel.h"

#include <QString>

namespace wrenlow::builders {

// What the four security tools printed on their standard output (empty when a tool failed).
struct SecurityToolOutput
{
    QString integrityProtection;
    QString gatekeeper;
    QString fileVault;
    QString enrollment;
};

// The macOS security card: always five rows, which the platform-security and enrollment diagnostics read.
InventorySection securitySection(const SecurityToolOutput &output);

} // namespace wrenlow::builders
