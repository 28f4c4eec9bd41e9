#include "common/PreciseWait.h"

#include <QCoroTimer>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace wrenlow {

QCoro::Task<> preciseWait(std::chrono::milliseconds duration)
{
    // Qt takes the interval as an int and never fires a negative one; out of that range a wait would wrap or
    // never end.
    constexpr std::chrono::milliseconds longest(std::numeric_limits<int>::max());
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.start(std::clamp(duration, std::chrono::milliseconds(0), longest));
    co_await timer;
}

} // namespace wrenlow
