#include "common/CommandRunner.h"
#include "scan/MacTools.h"

#include "FakeMacEnvironment.h"

#include <QElapsedTimer>
#include <QTest>

using namespace wrenlow;
using wrenlow::test::FakeMacEnvironment;

// The stand-ins every scan test relies on: they must answer exactly the product's command lines and
// nothing of this Linux machine may answer in their place.
class TestFakeMacTools : public QObject
{
    Q_OBJECT

private slots:
    void answersOnlyTheProductsCommandLines()
    {
        FakeMacEnvironment mac(QStringLiteral("dispatch-check"));
        QCOMPARE(CommandRunner::run(mactools::architecture()), (CommandRunner::Result{"arm64", "", 0}));
        QCOMPARE(CommandRunner::run(QStringLiteral("csrutil status")), (CommandRunner::Result{"", "boom", 3}));
        QCOMPARE(CommandRunner::run(mactools::integrityProtection()), (CommandRunner::Result{"", "", 3}));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(CommandRunner::run(mactools::fileVault()).stdOut, QStringLiteral("Enrolled via DEP: No"));
        QVERIFY(clock.elapsed() >= 200);

        QCOMPARE(CommandRunner::run(QStringLiteral("uname -a")).status, 64);
        QCOMPARE(CommandRunner::run(mactools::uptime()).stdOut, QString()); // Linux's is not reached
        QCOMPARE(CommandRunner::run(QStringLiteral("sysctl -n kern.boottime")).status, 127);
        QCOMPARE(CommandRunner::run(QStringLiteral("ls /")).status, 127);
    }
};

QTEST_GUILESS_MAIN(TestFakeMacTools)
#include "TestFakeMacTools.moc"
