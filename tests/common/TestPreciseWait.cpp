#include "common/PreciseWait.h"

#include "TaskWait.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

using namespace wrenlow;
using namespace std::chrono_literals;

namespace {

// Every timer that fires while it watches the application, by its length and kind, seen from outside as Qt
// delivers the timer's event.
class FiredTimers : public QObject
{
public:
    QStringList fired;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (const auto *timer = qobject_cast<QTimer *>(watched); timer && event->type() == QEvent::Timer) {
            const bool precise = timer->timerType() == Qt::PreciseTimer;
            fired.append(QString::number(timer->interval()) + (precise ? " ms, precise" : " ms, not precise"));
        }
        return false;
    }
};

} // namespace

// The waits the program measures (back-off, commit waits, the recording) all end on this one timer.
class TestPreciseWait : public QObject
{
    Q_OBJECT

private slots:
    void waitsOnAPreciseTimerOfItsLength()
    {
        FiredTimers watch;
        QCoreApplication::instance()->installEventFilter(&watch);
        support::waitForTask(preciseWait(7ms));
        QCoreApplication::instance()->removeEventFilter(&watch);
        QCOMPARE(watch.fired, QStringList{"7 ms, precise"});
    }
};

QTEST_GUILESS_MAIN(TestPreciseWait)
#include "TestPreciseWait.moc"
