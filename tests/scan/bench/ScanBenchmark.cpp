// Measures a whole scan against the bare cost of its fourteen command lines, and the building of the
// sections from a 2 MB system profile. Prints medians; run it on a quiet machine.
#include "Median.h"
#include "common/CommandRunner.h"
#include "scan/MacInventoryService.h"

#include "FakeMacEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace wrenlow;
using support::median;
using support::medianMs;

namespace {

void report(const char *what, double ms)
{
    std::printf("%-58s %9.2f ms\n", what, ms);
}

const QStringList commandLines{
    mactools::systemProfiler(),      mactools::batteryRegistry(), mactools::architecture(),
    mactools::productVersion(),      mactools::buildVersion(),    mactools::hardwarePorts(),
    mactools::integrityProtection(), mactools::gatekeeper(),      mactools::fileVault(),
    mactools::enrollment(),          mactools::bootTime(),        mactools::uptime(),
    mactools::biometricService(),    mactools::thermalState(),
};

// The same command lines, one after another, straight through the shell with nothing of ours around them.
void runDirectly()
{
    for (const QString &line : commandLines) {
        QProcess shell;
        shell.start(QStringLiteral("/bin/zsh"), {QStringLiteral("-lc"), line});
        shell.waitForFinished(-1);
        shell.readAllStandardOutput();
        shell.readAllStandardError();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 31;
    {
        test::FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
        const double direct = medianMs(runs, runDirectly);
        const double scan = medianMs(runs, [] { QCoro::waitFor(MacInventoryService().scan()); });
        report("14 command lines through /bin/zsh -lc, one after another", direct);
        report("whole scan (MacInventoryService::scan)", scan);
        std::printf("%-58s %9.2f\n", "ratio scan / direct", scan / direct);
    }

    QFile file(test::FakeMacEnvironment::fakeMacRoot() +
               QStringLiteral("/scenarios/large-profile/system_profiler.out"));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QString document = QString::fromUtf8(file.readAll());
    MacToolOutputs outputs;
    const double parse = medianMs(runs, [&] { outputs.profile = *CommandRunner::parseJsonObject(document); });
    const double build = medianMs(runs, [&] { MacInventoryService::build(outputs); });
    std::printf("2 MB profile (%lld bytes)\n", static_cast<long long>(file.size()));
    report("  parse the JSON document", parse);
    report("  build ten sections and twelve diagnostics", build);
    report("  both", parse + build);
    return 0;
}
