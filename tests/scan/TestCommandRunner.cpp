#include "scan/CommandRunner.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

using namespace wrenlow;

// The runner is exercised through a real /bin/zsh, as the product runs it.
class TestCommandRunner : public QObject
{
    Q_OBJECT

private:
    static bool processAlive(const QString &pattern)
    {
        QProcess pgrep;
        pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-f"), pattern});
        pgrep.waitForFinished();
        return pgrep.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        // A user's start-up files must not leak into what the tests see.
        qputenv("ZDOTDIR", QDir::tempPath().toUtf8() + "/wrenlow-no-zdotdir");
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("stdOut");
        QTest::addColumn<QString>("stdErr");
        QTest::addColumn<int>("status");

        QTest::newRow("trimmed output") << "printf 'arm64\\n'"
                                        << "arm64"
                                        << "" << 0;
        QTest::newRow("nothing, exit 3") << "exit 3"
                                         << ""
                                         << "" << 3;
        QTest::newRow("both streams trimmed, inner blanks kept")
            << "printf '  a  b \\n\\t'; printf ' oops \\n' >&2; exit 7"
            << "a  b"
            << "oops" << 7;
        QTest::newRow("pipeline status is the last command's") << "false | printf 'x'"
                                                               << "x"
                                                               << "" << 0;
        QTest::newRow("suppressed standard error") << "ls /no/such/path 2>/dev/null"
                                                   << ""
                                                   << "" << 2;
        QTest::newRow("missing tool reported by the shell") << "no-such-tool-wrenlow 2>/dev/null"
                                                            << ""
                                                            << "" << 127;
        QTest::newRow("invalid UTF-8 blanks only that stream") << "printf '\\377\\376'; printf 'fine' >&2; exit 4"
                                                               << ""
                                                               << "fine" << 4;
        QTest::newRow("invalid UTF-8 on standard error") << "printf 'fine'; printf 'a\\300b' >&2"
                                                         << "fine"
                                                         << "" << 0;
        QTest::newRow("standard input is the null device") << "cat; printf done"
                                                           << "done"
                                                           << "" << 0;
        QTest::newRow("unicode survives")
            << "printf 'Macintosh HD \\342\\200\\224 100%%'" << QStringLiteral("Macintosh HD — 100%") << "" << 0;
    }

    void outcomes()
    {
        QFETCH(QString, command);
        QFETCH(QString, stdOut);
        QFETCH(QString, stdErr);
        QFETCH(int, status);
        const auto result = CommandRunner::run(command, 10);
        QCOMPARE(result.stdOut, stdOut);
        QCOMPARE(result.stdErr, stdErr);
        QCOMPARE(result.status, status);
    }

    void largeOutputArrivesWhole()
    {
        const auto result = CommandRunner::run(QStringLiteral("head -c 2000000 /dev/zero | tr '\\0' x; exit 3"), 20);
        QCOMPARE(result.status, 3);
        QCOMPARE(result.stdOut.size(), 2000000);
        QVERIFY(result.stdOut.count(u'x') == 2000000);
    }

    void timeOutEndsTheWholePipeline()
    {
        QElapsedTimer clock;
        clock.start();
        const auto result = CommandRunner::run(QStringLiteral("sleep 31.5 | cat; echo never"), 1);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(result, (CommandRunner::Result{QString(), QStringLiteral("Timed out"), 124}));
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(QStringLiteral("sleep 31.5")), 2000);
    }

    void zeroLimitReadsAChildThatAlreadyEnded_data()
    {
        QTest::addColumn<double>("limit");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -5.0;
    }

    void zeroLimitReadsAChildThatAlreadyEnded()
    {
        QFETCH(double, limit);
        const auto result = CommandRunner::run(QStringLiteral("sleep 5"), limit);
        QCOMPARE(result.status, 124);
        QCOMPARE(result.stdErr, QStringLiteral("Timed out"));
    }

    void launchFailure()
    {
        const QString previous = CommandRunner::shell();
        CommandRunner::setShell(QStringLiteral("/no/such/shell"));
        const auto result = CommandRunner::run(QStringLiteral("printf x"));
        CommandRunner::setShell(previous);
        QCOMPARE(result.status, -1);
        QCOMPARE(result.stdOut, QString());
        QVERIFY(!result.stdErr.isEmpty());
    }

    void loginShellIsUsed()
    {
        const auto result = CommandRunner::run(QStringLiteral("[[ -o login ]] && printf login"));
        QCOMPARE(result.stdOut, QStringLiteral("login"));
    }

    void mainThreadEventsAreServedWhileWaiting()
    {
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start(20);
        CommandRunner::run(QStringLiteral("sleep 0.3"));
        QVERIFY(ticks >= 5);
    }

    void runsConcurrentlyOnWorkerThreads()
    {
        QElapsedTimer clock;
        clock.start();
        auto a = QtConcurrent::run([] { return CommandRunner::run(QStringLiteral("sleep 0.6; printf a")); });
        auto b = QtConcurrent::run([] { return CommandRunner::run(QStringLiteral("sleep 0.6; printf b")); });
        QCOMPARE(a.result().stdOut, QStringLiteral("a"));
        QCOMPARE(b.result().stdOut, QStringLiteral("b"));
        QVERIFY(clock.elapsed() < 1100);
    }

    void json_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("isObject");

        QTest::newRow("object, status 0") << "printf '{\"a\": [1, 2]}\\n'" << true;
        QTest::newRow("object, status 1") << "printf '{\"a\": 1}'; exit 1" << false;
        QTest::newRow("array") << "printf '[{\"a\": 1}]'" << false;
        QTest::newRow("empty output") << "true" << false;
        QTest::newRow("invalid JSON") << "printf '{\"a\": '" << false;
        QTest::newRow("bare number") << "printf 42" << false;
        QTest::newRow("object with standard error") << "printf '{}'; printf 'warning' >&2" << true;
    }

    void json()
    {
        QFETCH(QString, command);
        QFETCH(bool, isObject);
        QCOMPARE(CommandRunner::json(command).has_value(), isObject);
    }

    void abortEndsARunningCommandAndRefusesNewOnes()
    {
        // Last: the abort is for quitting and lasts for the rest of the process.
        auto running = QtConcurrent::run([] { return CommandRunner::run(QStringLiteral("sleep 32.5"), 60); });
        QTest::qWait(300);
        QElapsedTimer clock;
        clock.start();
        CommandRunner::abortAll();
        QCOMPARE(running.result().status, 124);
        QVERIFY(clock.elapsed() < 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(QStringLiteral("sleep 32.5")), 2000);
        const auto refused = CommandRunner::run(QStringLiteral("printf x"));
        QCOMPARE(refused.status, -1);
        QCOMPARE(refused.stdOut, QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "TestCommandRunner.moc"
