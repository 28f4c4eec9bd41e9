#include "scan/Diagnostics.h"

#include "scan/IdentitySections.h"
#include "scan/ProfileHelpers.h"

namespace wrenlow::builders {

namespace {

using State = DiagnosticState;

// The String "_name" of each dictionary that passes `keep`, in order; dictionaries without one are skipped.
template <typename Keep> QStringList names(const QList<QJsonObject> &dictionaries, Keep keep)
{
    QStringList found;
    for (const QJsonObject &dictionary : dictionaries) {
        const QJsonValue name = dictionary.value(u"_name");
        if (keep(dictionary) && name.isString())
            found.append(name.toString());
    }
    return found;
}

QStringList names(const QList<QJsonObject> &dictionaries)
{
    return names(dictionaries, [](const QJsonObject &) { return true; });
}

QString rowValue(const InventorySection *section, const QString &label, const QString &missing)
{
    const InventoryValue *row = section ? section->findValue(label) : nullptr;
    return row ? row->value : missing;
}

// How a diagnostic starts out: its state and the sentence that explains it.
struct Finding
{
    State state;
    QString detail;
};

Finding finding(State state, QStringView detail)
{
    return {state, detail.toString()};
}

DiagnosticItem item(QStringView id, QStringView title, QStringView symbol, Finding finding,
                    const QStringList &devices = {})
{
    return {id.toString(), title.toString(), finding.state, finding.detail, symbol.toString(), devices};
}

struct Storage
{
    QStringList devices;
    bool allVerified = true;
};

Storage storageHealth(const QJsonObject &profile)
{
    Storage storage;
    for (const QString &dataType : {QStringLiteral("SPNVMeDataType"), QStringLiteral("SPSerialATADataType")}) {
        for (const QJsonObject &entry : profile::dictionaryArray(profile.value(dataType))) {
            for (const QJsonObject &dictionary : profile::recursiveDictionaries(entry)) {
                const QJsonValue smart = dictionary.value(u"smart_status");
                if (!smart.isString())
                    continue;
                const QString device = profile::text(
                    dictionary, {QStringLiteral("device_model"), QStringLiteral("bsd_name"), QStringLiteral("_name")},
                    QStringLiteral("Internal storage"));
                storage.devices.append(device + QStringLiteral(": ") + smart.toString());
                if (!smart.toString().contains(u"verified", Qt::CaseInsensitive))
                    storage.allVerified = false;
            }
        }
    }
    return storage;
}

Finding storageFinding(const Storage &storage)
{
    if (storage.devices.isEmpty())
        return finding(State::Review, u"SMART status was not reported for internal storage.");
    if (storage.allVerified)
        return finding(State::Pass, u"All reported internal storage devices passed SMART verification.");
    return finding(State::Review, u"One or more storage devices require SMART review.");
}

Finding activationLockFinding(const QString &status)
{
    if (status == u"Enabled") {
        return finding(State::Review, u"Activation Lock is enabled. For resale or redeployment, verify the owner "
                                      u"removes it before release.");
    }
    if (status == u"Disabled")
        return finding(State::Pass, u"Activation Lock is disabled.");
    return finding(State::Review, u"Activation Lock status could not be confirmed.");
}

Finding batteryFinding(const QJsonObject &profile, const std::optional<BatteryTelemetry> &telemetry)
{
    const QJsonValue healthValue =
        profile::first(profile, QStringLiteral("SPPowerDataType")).value(u"sppower_battery_health_info");
    if (!healthValue.isObject())
        return finding(State::NotApplicable, u"No internal battery detected.");
    const QJsonObject health = healthValue.toObject();

    const QString condition =
        profile::text(health, {QStringLiteral("sppower_battery_health")}, QStringLiteral("Unknown"));
    const QString maximum =
        profile::textOptional(health, QStringLiteral("sppower_battery_health_maximum_capacity")).value_or(QString());
    // Only "Good" and "Not reported" escape the composite's cap, so "Unknown" caps it here.
    const std::optional<int> overall = telemetry ? telemetry->overallHealthPercent(condition) : std::nullopt;
    const bool good = condition == u"Good" && overall >= 80; // no figure counts as below
    const QString summary = QStringLiteral("Wrenlow overall health: ") +
                            (overall ? QString::number(*overall) + u'%' : QStringLiteral("unknown")) +
                            QStringLiteral(". Apple maximum capacity: ") +
                            (maximum.isEmpty() ? QStringLiteral("unknown") : maximum) +
                            QStringLiteral(". Condition: ") + condition + u'.';
    return {good ? State::Pass : State::Review, summary};
}

} // namespace

QList<DiagnosticItem> diagnosticItems(const QJsonObject &profile, const QString &machineName,
                                      const InventorySection *security,
                                      const std::optional<BatteryTelemetry> &batteryTelemetry,
                                      const DiagnosticToolOutput &tools)
{
    const bool laptop = isLaptopName(machineName);

    const QList<QJsonObject> audioDevices =
        profile::dictionaryArray(profile::first(profile, QStringLiteral("SPAudioDataType")).value(u"_items"));
    const QStringList outputs =
        names(audioDevices, [](const QJsonObject &d) { return d.contains(u"coreaudio_device_output"); });
    const QStringList inputs =
        names(audioDevices, [](const QJsonObject &d) { return d.contains(u"coreaudio_device_input"); });
    const QStringList cameras = names(profile::dictionaryArray(profile.value(u"SPCameraDataType")));
    const QStringList wifi = names(profile::dictionaryArray(
        profile::first(profile, QStringLiteral("SPAirPortDataType")).value(u"spairport_airport_interfaces")));

    const QString &thermal = tools.thermalState;
    const bool thermalQuiet = !thermal.contains(u"warning", Qt::CaseInsensitive) ||
                              thermal.contains(u"no thermal warning", Qt::CaseInsensitive);

    const bool sipEnabled = rowValue(security, QStringLiteral("System Integrity Protection"), {}) == u"Enabled";
    const bool gatekeeperEnabled = rowValue(security, QStringLiteral("Gatekeeper"), {}) == u"Enabled";
    const QString unknown = QStringLiteral("Unknown");
    const bool enrolled = rowValue(security, QStringLiteral("MDM Enrollment"), unknown) == u"Enrolled" ||
                          rowValue(security, QStringLiteral("Automated Device Enrollment"), unknown) == u"Enrolled";

    const QString activationLock = profile::text(profile::first(profile, QStringLiteral("SPHardwareDataType")),
                                                 {QStringLiteral("activation_lock_status")}, unknown);
    const Storage storage = storageHealth(profile);

    // A hands-on test with no hardware to test: on a laptop that is worth a look, elsewhere it does not apply.
    const State missingHardware = laptop ? State::Review : State::NotApplicable;

    return {
        item(u"system-health", u"System Health", u"waveform.path.ecg",
             thermalQuiet ? finding(State::Pass, u"No active macOS thermal warning was reported.")
                          : finding(State::Review,
                                    u"macOS reported a thermal or performance condition that should be reviewed.")),
        item(u"activation-lock", u"Apple Activation Lock", u"lock.icloud", activationLockFinding(activationLock)),
        item(u"mdm-enrollment", u"Management Enrollment", u"person.badge.shield.checkmark",
             enrolled ? finding(State::Review, u"This Mac reports MDM or Automated Device Enrollment. Review "
                                               u"ownership and release requirements.")
                      : finding(State::Pass, u"No MDM or Automated Device Enrollment was reported.")),
        item(u"storage-health", u"Storage Health", u"internaldrive", storageFinding(storage), storage.devices),
        item(u"battery-health", u"Battery Health", u"battery.100", batteryFinding(profile, batteryTelemetry)),
        item(u"keyboard", u"Keyboard", u"keyboard",
             laptop ? finding(State::Ready, u"Ready for an interactive Mac keyboard test.")
                    : finding(State::NotApplicable, u"Built-in keyboard testing is not required for this Mac class.")),
        item(u"sound", u"Speakers", u"speaker.wave.3",
             outputs.isEmpty()
                 ? finding(State::Review, u"No audio output was reported.")
                 : finding(State::Ready, u"Audio output detected. Ready for left/right and sweep testing."),
             outputs),
        item(u"camera", u"Camera", u"camera",
             cameras.isEmpty() ? finding(missingHardware, u"No built-in camera was reported.")
                               : finding(State::Ready, u"Camera hardware detected. Ready for visual confirmation."),
             cameras),
        item(u"microphone", u"Microphone", u"mic",
             inputs.isEmpty() ? finding(missingHardware, u"No microphone input was reported.")
                              : finding(State::Ready, u"Microphone input detected. Ready for record/playback testing."),
             inputs),
        item(u"fingerprint", u"Touch ID", u"touchid",
             tools.biometricService.isEmpty()
                 ? finding(State::NotApplicable, u"No Apple biometric service was detected.")
                 : finding(State::Pass, u"Apple biometric hardware/service detected.")),
        item(u"wireless-hardware", u"Wi-Fi Hardware", u"wifi",
             wifi.isEmpty() ? finding(State::Review, u"No Wi-Fi hardware was reported.")
                            : finding(State::Pass, u"Physical Wi-Fi interface detected."),
             wifi),
        item(u"mac-security", u"Platform Security", u"lock.shield",
             sipEnabled && gatekeeperEnabled
                 ? finding(State::Pass, u"SIP and Gatekeeper are enabled.")
                 : finding(State::Review, u"Review SIP or Gatekeeper state before release.")),
    };
}

} // namespace wrenlow::builders
