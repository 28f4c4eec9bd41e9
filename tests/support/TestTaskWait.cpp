#include "TaskWait.h"

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QTest>

#include <stdexcept>

using namespace std::chrono_literals;
using wrenlow::support::waitForTask;

namespace {

int settled = 0;

QCoro::Task<int> answerAfter(std::chrono::milliseconds wait, bool fail)
{
    co_await QCoro::sleepFor(wait);
    ++settled;
    if (fail)
        throw std::logic_error("refused");
    co_return 42;
}

} // namespace

class TestTaskWait : public QObject
{
    Q_OBJECT

private slots:
    void settlesWithinItsLimit()
    {
        QCOMPARE(waitForTask(answerAfter(10ms, false), 2s), 42);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, waitForTask(answerAfter(10ms, true), 2s));
        // A hung task fails the wait at its limit, and finishing later touches nothing of the wait.
        QElapsedTimer clock;
        clock.start();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, waitForTask(answerAfter(300ms, false), 50ms));
        QVERIFY(clock.elapsed() < 250);
        QTRY_COMPARE(settled, 3);
    }
};

QTEST_GUILESS_MAIN(TestTaskWait)
#include "TestTaskWait.moc"
