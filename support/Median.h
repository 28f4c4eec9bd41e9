#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <functional>

namespace wrenlow::support {

// The middle of a set of measurements; a benchmark reports it so that one disturbed run does not move the figure.
inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

// The median time of `work` in milliseconds over `runs` runs; `prepare` runs before each, outside the clock.
inline double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.append(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

inline double medianMs(int runs, const std::function<void()> &work)
{
    return medianMs(
        runs, [] {}, work);
}

} // namespace wrenlow::support
