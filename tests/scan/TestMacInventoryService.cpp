#include "scan/MacInventoryService.h"

#include "FakeMacEnvironment.h"
#include "SnapshotText.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>

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
        // A tool that fails leaves exactly its own fallbacks.
        const char *rows[][2] = {
            {"apple-silicon-macbook", "apple-silicon-macbook"},
            {"older-battery-registry", "older-battery-registry"},
            {"intel-desktop", "intel-desktop"},
            {"no-tools", "no-tools"},
            {"malformed-profile-status", "no-tools"},
            {"malformed-profile-garbage", "no-tools"},
            {"malformed-battery-dict", "macbook-profile-only"},
            {"malformed-battery-text", "macbook-profile-only"},
            {"large-profile", "apple-silicon-macbook"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]);
    }

    void scenarios()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, expected);
        FakeMacEnvironment mac(scenario);
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const InventorySnapshot snapshot = QCoro::waitFor(MacInventoryService().scan());
        QCOMPARE(test::snapshotLines(snapshot), expectedLines(expected));
        QVERIFY(snapshot.collectedAt >= before && snapshot.collectedAt <= QDateTime::currentDateTimeUtc());
        QVERIFY(snapshot.elapsedSeconds > 0 && snapshot.elapsedSeconds < 30);
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
        const InventorySnapshot snapshot = QCoro::waitFor(MacInventoryService(limits).scan());
        const double seconds = clock.elapsed() / 1000.0;
        // Each limit starts once its tool has launched, so starting and ending fourteen shells comes on top.
        QVERIFY2(seconds < sumOfLimits + 14 * 0.05, qPrintable(QString::number(seconds)));
        QCOMPARE(test::snapshotLines(snapshot), expectedLines("no-tools"));

        const auto calls = mac.invocations();
        QCOMPARE(calls.size(), 14);
#ifndef Q_OS_LINUX
        QSKIP("Telling an ended tool from a running one reads /proc, which only Linux has.");
#endif
        for (const auto &call : calls)
            QVERIFY2(!running(call.pid), qPrintable(call.argv.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestMacInventoryService)
#include "TestMacInventoryService.moc"
