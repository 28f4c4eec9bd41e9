#pragma once

#include <QString>

// The macOS reporting tools the product runs: every command line and time limit in one place.
namespace wrenlow::mactools {

inline QString systemProfiler()
{
    return QStringLiteral("system_profiler SPHardwareDataType SPPowerDataType SPDisplaysDataType SPNVMeDataType "
                          "SPSerialATADataType SPCameraDataType SPAudioDataType SPAirPortDataType SPMemoryDataType "
                          "-json");
}
inline QString batteryRegistry() { return QStringLiteral("ioreg -r -c AppleSmartBattery -a 2>/dev/null"); }
inline QString architecture() { return QStringLiteral("uname -m"); }
inline QString productVersion() { return QStringLiteral("sw_vers -productVersion"); }
inline QString buildVersion() { return QStringLiteral("sw_vers -buildVersion"); }
inline QString hardwarePorts() { return QStringLiteral("networksetup -listallhardwareports 2>/dev/null"); }
inline QString integrityProtection() { return QStringLiteral("csrutil status 2>/dev/null"); }
inline QString gatekeeper() { return QStringLiteral("spctl --status 2>/dev/null"); }
inline QString fileVault() { return QStringLiteral("fdesetup status 2>/dev/null"); }
inline QString enrollment() { return QStringLiteral("profiles status -type enrollment 2>/dev/null"); }
inline QString bootTime() { return QStringLiteral("sysctl -n kern.boottime 2>/dev/null"); }
inline QString uptime() { return QStringLiteral("uptime | sed 's/.*up *//; s/, *[0-9]* users.*//'"); }
inline QString biometricService()
{
    return QStringLiteral("ioreg -r -c AppleBiometricServices -l 2>/dev/null | head -n 1");
}
inline QString thermalState() { return QStringLiteral("pmset -g therm 2>/dev/null"); }

// The time limits of the tools in seconds. Tests scale them down to exercise hanging tools quickly.
struct ToolLimits
{
    double systemProfiler = 45.0;
    double batteryRegistry = 8.0;
    double standard = 25.0;
    double samplePlayback = 12.0;

    ToolLimits scaled(double factor) const
    {
        return {systemProfiler * factor, batteryRegistry * factor, standard * factor, samplePlayback * factor};
    }
};

} // namespace wrenlow::mactools
