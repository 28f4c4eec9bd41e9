#pragma once

#include <QDateTime>
#include <QTimeZone>

namespace wrenlow {

// What QDateTime takes for "in UTC", the one place that knows Qt's version: Qt 6.5 added QTimeZone's light UTC
// and deprecates the Qt::TimeSpec arguments; Qt 6.4 has only Qt::TimeSpec (its QTimeZone::utc() would write "+00:00"
// where ISO texts need "Z"). Use as QDateTime(date, time, utc) or QDateTime::fromMSecsSinceEpoch(ms, utc).
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
inline constexpr QTimeZone::Initialization utc = QTimeZone::UTC;
#else
inline constexpr Qt::TimeSpec utc = Qt::UTC;
#endif

} // namespace wrenlow
