#include "scan/CommandRunner.h"
#include "scan/MacTools.h"

#include "FakeMacEnvironment.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>

using namespace wrenlow;
using wrenlow::test::FakeMacEnvironment;

// The stand-ins every scan test relies on: they must answer exactly the product's command lines and
// nothing of this Linux machine may answer in their place.
class TestFakeMacTools : public QObject
{
    Q_OBJECT

private slots:
    void answersFromTheScenario()
    {
        FakeMacEnvironment mac(QStringLiteral("dispatch-check"));
        QCOMPARE(CommandRunner::run(mactools::architecture()), (CommandRunner::Result{"arm64", "", 0}));
        QCOMPARE(CommandRunner::run(QStringLiteral("csrutil status")), (CommandRunner::Result{"", "boom", 3}));
        QCOMPARE(CommandRunner::run(mactools::integrityProtection()), (CommandRunner::Result{"", "", 3}));

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(CommandRunner::run(mactools::fileVault()).stdOut, QStringLiteral("Enrolled via DEP: No"));
        QVERIFY(clock.elapsed() >= 200);
    }

    void refusesWhatIsNotAProductCommandLine()
    {
        FakeMacEnvironment mac(QStringLiteral("dispatch-check"));
        QCOMPARE(CommandRunner::run(QStringLiteral("uname -a")).status, 64);
        QCOMPARE(CommandRunner::run(QStringLiteral("sw_vers -buildVersion")).status, 127); // no fixture
        QCOMPARE(CommandRunner::run(mactools::uptime()).stdOut, QString());                // Linux's is not reached
        QCOMPARE(CommandRunner::run(QStringLiteral("sysctl -n kern.boottime")).status, 127);
        QCOMPARE(CommandRunner::run(QStringLiteral("ls /")).status, 127);
    }

    void hangingToolIsEndedAndLogged()
    {
        FakeMacEnvironment mac(QStringLiteral("dispatch-check"));
        const auto result = CommandRunner::run(mactools::gatekeeper(), 0.5);
        QCOMPARE(result.status, 124);
        const auto calls = mac.invocations();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().argv, (QStringList{"spctl", "--status"}));
        QVERIFY(calls.first().pid > 0);
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(calls.first().pid), 0) != 0, 2000);
    }
};

QTEST_GUILESS_MAIN(TestFakeMacTools)
#include "TestFakeMacTools.moc"
