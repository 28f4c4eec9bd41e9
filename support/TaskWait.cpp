#include "TaskWait.h"

#include <QEventLoop>
#include <QTimer>

#include <stdexcept>
#include <string>

namespace wrenlow::support::detail {

void wake(QEventLoop *loop)
{
    if (loop)
        loop->quit();
}

void runEventsUntil(const bool &done, QEventLoop *&loop, std::chrono::milliseconds limit)
{
    QEventLoop waiting;
    bool expired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &waiting, [&waiting, &expired] {
        expired = true;
        waiting.quit();
    });
    timer.start(limit);
    loop = &waiting;
    while (!done && !expired)
        waiting.exec();
    loop = nullptr;
    if (!done)
        throw std::runtime_error("the awaited task did not end within " + std::to_string(limit.count()) + " ms");
}

} // namespace wrenlow::support::detail
