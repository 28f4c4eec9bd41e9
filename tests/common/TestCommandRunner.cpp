#include "common/CommandRunner.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

using namespace wrenlow;
using Result = CommandRunner::Result;
Q_DECLARE_METATYPE(Result)

// The runner is exercised through a real /bin/zsh, as the product runs it.
class TestCommandRunner : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    // The command, after its shell, which leads the process group the runner made, has written its number down.
    QString recordingGroup(const QString &command) const
    {
        return "echo $$ > '" + m_folder.filePath("group") + "'; " + command;
    }
    pid_t recordedGroup() const
    {
        QFile file(m_folder.filePath("group"));
        const pid_t group = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
        return group > 1 ? group : throw std::runtime_error("no process group was recorded");
    }

    // Processes of this group that still run; a zombie has ended and only waits for its parent to reap it.
    static int runningInGroup(pid_t group)
    {
        int running = 0;
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            // After the command's name in parentheses: state, parent, process group.
            const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
            running += fields.size() > 2 && fields.at(2).toInt() == group && fields.at(0) != "Z";
        }
        return running;
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
        QTest::addColumn<double>("limit");
        QTest::addColumn<Result>("expected");

        // clang-format off
        QTest::newRow("trimmed output") << "printf 'arm64\\n'" << 10.0 << Result{"arm64", "", 0};
        QTest::newRow("both streams trimmed, inner blanks kept") << "printf '  a  b \\n\\t'; printf ' oops \\n' >&2; exit 7" << 10.0 << Result{"a  b", "oops", 7};
        QTest::newRow("invalid UTF-8 blanks only that stream") << "printf '\\377\\376'; printf 'fine' >&2; exit 4" << 10.0 << Result{"", "fine", 4};
        QTest::newRow("standard input is the null device") << "cat; printf done" << 10.0 << Result{"done", "", 0};
        QTest::newRow("unicode survives") << "printf 'Macintosh HD \\342\\200\\224 100%%'" << 10.0 << Result{"Macintosh HD — 100%", "", 0};
        QTest::newRow("a login shell") << "[[ -o login ]] && printf login" << 10.0 << Result{"login", "", 0};
        QTest::newRow("zero limit") << "sleep 5" << 0.0 << Result{"", "Timed out", 124};
        QTest::newRow("no number: as a zero limit") << "sleep 5" << qQNaN() << Result{"", "Timed out", 124};
        QTest::newRow("limit past the timer's range") << "sleep 1; echo done" << 4294967.396 << Result{"done", "", 0};
        QTest::newRow("infinite limit") << "sleep 0.2; echo done" << qInf() << Result{"done", "", 0};
        QTest::newRow("large output arrives whole") << "head -c 2000000 /dev/zero | tr '\\0' x; exit 3" << 20.0 << Result{QString(2000000, u'x'), "", 3};
        // clang-format on
    }

    void outcomes()
    {
        QFETCH(QString, command);
        QFETCH(double, limit);
        QTEST(CommandRunner::run(command, limit), "expected");
    }

    // A time-out, or a stream past the cap (whose output is dropped), ends the shell and the rest of its pipeline
    // with it, long before the sleeps would.
    void stoppingEndsTheWholeGroup_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<double>("limit");
        QTest::addColumn<Result>("expected");
        const QString bytes = QString::number(CommandRunner::maxStreamBytes + 1);
        const Result tooLarge{"", "Stopped: the command wrote more than 16 MiB.", CommandRunner::outputTooLargeStatus};
        QTest::newRow("time-out") << "sleep 31.5 | cat; echo never" << 1.0 << Result{"", "Timed out", 124};
        // clang-format off
        QTest::newRow("standard output past the cap") << "head -c " + bytes + " /dev/zero; sleep 31" << 20.0 << tooLarge;
        QTest::newRow("standard error past the cap") << "head -c " + bytes + " /dev/zero >&2; sleep 31" << 20.0 << tooLarge;
        // clang-format on
    }

    void stoppingEndsTheWholeGroup()
    {
        QFETCH(QString, command);
        QFETCH(double, limit);
        QElapsedTimer clock;
        clock.start();
        QTEST(CommandRunner::run(recordingGroup(command), limit), "expected");
        QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(runningInGroup(recordedGroup()), 0, 2000);
    }

    void launchFailure()
    {
        const QString previous = CommandRunner::shell();
        CommandRunner::setShell(QStringLiteral("/no/such/shell"));
        const auto result = CommandRunner::run(QStringLiteral("printf x"));
        CommandRunner::setShell(previous);
        QVERIFY(result.status == -1 && result.stdOut.isEmpty() && !result.stdErr.isEmpty());
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

    // Only a top-level object counts, whatever the tool also writes to standard error.
    void json()
    {
        QVERIFY(CommandRunner::json("printf '{\"a\": [1, 2]}\\n'"));
        QVERIFY(CommandRunner::json("printf '{}'; printf 'warning' >&2"));
        QVERIFY(!CommandRunner::json("printf '[{\"a\": 1}]'"));
        QVERIFY(!CommandRunner::json("printf '{\"a\": '"));
    }

    void abortEndsARunningCommandAndRefusesNewOnes()
    {
        // Last: the abort is for quitting and lasts for the rest of the process.
        const QString command = recordingGroup("sleep 32.5");
        auto running = QtConcurrent::run([command] { return CommandRunner::run(command, 60); });
        QTest::qWait(300);
        QElapsedTimer clock;
        clock.start();
        CommandRunner::abortAll();
        QCOMPARE(running.result().status, 124);
        QVERIFY(clock.elapsed() < 2000);
        QTRY_COMPARE_WITH_TIMEOUT(runningInGroup(recordedGroup()), 0, 2000);
        const auto refused = CommandRunner::run(QStringLiteral("printf x"));
        QCOMPARE(refused.status, -1);
        QCOMPARE(refused.stdOut, QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "TestCommandRunner.moc"
