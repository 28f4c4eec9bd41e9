// Measures the window as a technician meets it: time from process start to the first painted frame, the
// longest stretch the main thread is kept from its event loop while the start scan runs and then while the
// pages take in its result, and the resident memory of the idle window after that scan. Starts itself as a fresh
// process per run (a stand-in MacBook, the product's own model) and prints medians. Run under a display: xvfb-run -a
// build/tests/ui/bench/WindowBenchmark [--chip-name-bytes N] [--runs N]
// With --chip-name-bytes the stand-in reports a chip name of about N bytes, to see what a long text from a tool
// costs the window (one word without a blank: the hardest text to wrap).
#include "Median.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/WrenlowMacApp.h"

#include "FakeMacEnvironment.h"
#include "common/CommandRunner.h"
#include "workflow/DashboardViewModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace wrenlow;
using support::median;
using support::medianMs;

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double residentMb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Notes the end of the first paint of the content: the frame is handed to the window system right after.
class FirstPaint : public QObject
{
public:
    qint64 at = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at == 0)
            QTimer::singleShot(0, this, [this] { at = nowNs(); });
        return false;
    }
};

// The stand-in MacBook with its chip name grown to about `bytes` bytes in one word, the hardest text to wrap.
bool writeLongChipScenario(const QString &folder, qsizetype bytes)
{
    const QString source = test::FakeMacEnvironment::fakeMacRoot() + "/scenarios/apple-silicon-macbook";
    for (const QString &name : QDir(source).entryList(QDir::Files)) {
        if (!QFile::copy(source + '/' + name, folder + '/' + name))
            return false;
    }
    QFile profile(folder + "/system_profiler.out");
    if (!profile.open(QIODevice::ReadWrite))
        return false;
    const QByteArray word = "AppleM2Pro";
    QByteArray text = profile.readAll().replace("\"chip_type\" : \"Apple M2 Pro\"",
                                                "\"chip_type\" : \"" + word.repeated(bytes / word.size()) + '"');
    return profile.resize(0) && profile.write(text) == text.size();
}

int child(int argc, char *argv[], qint64 startNs)
{
    const qsizetype chipNameBytes = qEnvironmentVariableIntValue("WRENLOW_BENCH_CHIP_NAME_BYTES");
    QTemporaryDir longChip;
    if (chipNameBytes > 0 && !writeLongChipScenario(longChip.path(), chipNameBytes))
        return 1;
    test::FakeMacEnvironment environment(chipNameBytes > 0 ? longChip.path() : QStringLiteral("apple-silicon-macbook"));
    QApplication application(argc, argv);
    WrenlowMacApp::prepareApplication();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [] { CommandRunner::abortAll(); });
    WrenlowMacApp app;
    FirstPaint firstPaint;
    app.content()->installEventFilter(&firstPaint);

    QElapsedTimer beat;
    qint64 longestGap = 0;
    qint64 longestGapAfter = 0; // while the pages show the scan's result
    bool scanEnded = false;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        if (app.model().isScanning())
            longestGap = std::max(longestGap, beat.nsecsElapsed());
        else if (scanEnded)
            longestGapAfter = std::max(longestGapAfter, beat.nsecsElapsed());
        beat.restart();
    });
    QObject::connect(&app.model(), &DashboardViewModel::changed, [&](DashboardViewModel::Field field) {
        if (field != DashboardViewModel::Field::isScanning)
            return;
        if (app.model().isScanning()) {
            beat.restart(); // the gaps of the window's start-up before the scan are not the scan's
            return;
        }
        // The stretch up to the scan's end counts too: the result may arrive before the first beat.
        longestGap = std::max(longestGap, beat.nsecsElapsed());
        beat.restart();
        scanEnded = true;
        QTimer::singleShot(1500, &application, [&] {
            heartbeat.stop();
            std::printf("%.1f %.1f %.1f %.1f\n", (firstPaint.at - startNs) / 1e6, longestGap / 1e6,
                        longestGapAfter / 1e6, residentMb());
            QApplication::quit();
        });
    });
    app.window()->show();
    beat.start();
    heartbeat.start();
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (const QByteArray start = qgetenv("WRENLOW_BENCH_START_NS"); !start.isEmpty())
        return child(argc, argv, start.toLongLong());

    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const auto option = [&](const char *name, int fallback) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at > 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : fallback;
    };
    const int chipNameBytes = option("--chip-name-bytes", 0);
    const int runs = option("--runs", 7);
    QList<double> firstFrame, gap, gapAfter, resident;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const qint64 start = nowNs();
        environment.insert("WRENLOW_BENCH_START_NS", QString::number(start));
        environment.insert("WRENLOW_BENCH_CHIP_NAME_BYTES", QString::number(chipNameBytes));
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationFilePath(), {});
        process.waitForFinished(30 * 60 * 1000); // a long chip name took minutes before the Overview was mended
        const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 4) {
            std::fprintf(stderr, "run %d gave no figures: %s\n", run, process.readAllStandardError().constData());
            return 1;
        }
        firstFrame << figures.at(0).toDouble();
        gap << figures.at(1).toDouble();
        gapAfter << figures.at(2).toDouble();
        resident << figures.at(3).toDouble();
    }
    std::printf("process start to first painted frame   %8.1f ms (median of %lld)\n", median(firstFrame),
                qint64(firstFrame.size()));
    std::printf("longest main-thread gap in start scan  %8.1f ms\n", median(gap));
    std::printf("longest gap while its result is shown  %8.1f ms\n", median(gapAfter));
    std::printf("resident memory, idle after the scan   %8.1f MB\n", median(resident));
    return 0;
}
