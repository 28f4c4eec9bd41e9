#include "scan/CommandRunner.h"
#include "scan/MacInventoryService.h"

#include "FakeMacEnvironment.h"
#include "SnapshotText.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>

using namespace wrenlow;
using wrenlow::test::FakeMacEnvironment;

// Whole scans against the macOS tool stand-ins, compared with expectations written out by hand per scenario.
class TestMacInventoryService : public QObject
{
    Q_OBJECT

private:
    static QStringList expectedLines(const QString &name)
    {
        QFile file(QStringLiteral(WRENLOW_EXPECTED_DIR "/") + name + ".txt");
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing expectation %s", qPrintable(name));
        QStringList lines;
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
            const QString trimmed = line.trimmed();
            if (!trimmed.isEmpty() && !trimmed.startsWith('#'))
                lines << trimmed;
        }
        return lines;
    }

    static void compareLines(const QStringList &actual, const QStringList &expected)
    {
        for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i)
            QCOMPARE(actual.at(i), expected.at(i));
        QCOMPARE(actual.size(), expected.size());
    }

    static InventorySnapshot scan(mactools::ToolLimits limits = {})
    {
        const MacInventoryService service(limits);
        return QCoro::waitFor(service.scan());
    }

    // A zombie has ended; it only waits for its parent (here possibly a container's idle init) to reap it.
    static bool running(qint64 pid)
    {
        if (::kill(pid_t(pid), 0) != 0)
            return false;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        return !stat.open(QIODevice::ReadOnly) || !stat.readAll().contains(") Z ");
    }

private slots:
    void scenarios_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Apple silicon MacBook") << "apple-silicon-macbook"
                                               << "apple-silicon-macbook";
        QTest::newRow("Intel desktop") << "intel-desktop"
                                       << "intel-desktop";
        QTest::newRow("no tools") << "no-tools"
                                  << "no-tools";
        QTest::newRow("profile exits 1") << "malformed-profile-status"
                                         << "no-tools";
        QTest::newRow("profile is an array") << "malformed-profile-array"
                                             << "no-tools";
        QTest::newRow("profile is garbage") << "malformed-profile-garbage"
                                            << "no-tools";
        QTest::newRow("profile is not UTF-8") << "malformed-profile-utf8"
                                              << "no-tools";
        QTest::newRow("battery registry is a dictionary") << "malformed-battery-dict"
                                                          << "macbook-profile-only";
        QTest::newRow("battery registry is empty") << "malformed-battery-empty"
                                                   << "macbook-profile-only";
        QTest::newRow("battery registry is not XML") << "malformed-battery-text"
                                                     << "macbook-profile-only";
        QTest::newRow("battery registry is not UTF-8") << "malformed-battery-utf8"
                                                       << "macbook-profile-only";
        QTest::newRow("2 MB profile") << "large-profile"
                                      << "apple-silicon-macbook";
    }

    void scenarios()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, expected);
        FakeMacEnvironment mac(scenario);
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const InventorySnapshot snapshot = scan();
        compareLines(test::snapshotLines(snapshot), expectedLines(expected));
        QVERIFY(snapshot.collectedAt >= before && snapshot.collectedAt <= QDateTime::currentDateTimeUtc());
        QVERIFY(snapshot.elapsedSeconds > 0 && snapshot.elapsedSeconds < 30);
    }

    void commandsRunInOrderWithTheirExactArguments()
    {
        FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
        scan();
        QStringList calls;
        for (const auto &invocation : mac.invocations())
            calls << invocation.argv.join(' ');
        const QStringList expected{
            "system_profiler SPHardwareDataType SPPowerDataType SPDisplaysDataType SPNVMeDataType SPSerialATADataType "
            "SPCameraDataType SPAudioDataType SPAirPortDataType SPMemoryDataType -json",
            "ioreg -r -c AppleSmartBattery -a",
            "uname -m",
            "sw_vers -productVersion",
            "sw_vers -buildVersion",
            "networksetup -listallhardwareports",
            "csrutil status",
            "spctl --status",
            "fdesetup status",
            "profiles status -type enrollment",
            "sysctl -n kern.boottime",
            "uptime",
            "ioreg -r -c AppleBiometricServices -l",
            "pmset -g therm",
        };
        QCOMPARE(calls, expected);
    }

    void resumesOnTheCallersThread()
    {
        FakeMacEnvironment mac(QStringLiteral("no-tools"));
        QThread *resumedOn = nullptr;
        QCoro::waitFor([&]() -> QCoro::Task<> {
            co_await MacInventoryService().scan();
            resumedOn = QThread::currentThread();
        }());
        QCOMPARE(resumedOn, QThread::currentThread());
    }

    void hangingToolsEndAtTheirScaledLimits()
    {
        FakeMacEnvironment mac(QStringLiteral("all-hanging"));
        const mactools::ToolLimits limits = mactools::ToolLimits().scaled(0.01);
        const double sumOfLimits = limits.systemProfiler + limits.batteryRegistry + 12 * limits.standard;
        QElapsedTimer clock;
        clock.start();
        const InventorySnapshot snapshot = scan(limits);
        const double seconds = clock.elapsed() / 1000.0;
        // Each limit starts once its tool has launched, so starting and ending fourteen shells comes on top.
        QVERIFY2(seconds < sumOfLimits + 14 * 0.05, qPrintable(QString::number(seconds)));
        compareLines(test::snapshotLines(snapshot), expectedLines("no-tools"));

        const auto calls = mac.invocations();
        QCOMPARE(calls.size(), 14);
        for (const auto &call : calls)
            QVERIFY2(!running(call.pid), qPrintable(call.argv.join(' ')));
    }

    void quittingEndsARunningScan()
    {
        // Last: the abort lasts for the rest of the process, as it does when the application quits.
        FakeMacEnvironment mac(QStringLiteral("all-hanging"));
        QTimer::singleShot(300, this, [] { CommandRunner::abortAll(); });
        QElapsedTimer clock;
        clock.start();
        const InventorySnapshot snapshot = scan();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        compareLines(test::snapshotLines(snapshot), expectedLines("no-tools"));
        for (const auto &call : mac.invocations())
            QTRY_VERIFY(!running(call.pid));
    }
};

QTEST_GUILESS_MAIN(TestMacInventoryService)
#include "TestMacInventoryService.moc"
