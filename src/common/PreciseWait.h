#pragma once

#include <QCoroTask>

#include <chrono>

namespace wrenlow {

// The program's one timed wait: the upload back-off, the commit waits and the microphone's recording length all
// go through it. It runs on a precise timer, because Qt's default coarse timer may end a wait up to 5 % early and
// moves it onto whole or half seconds, which shortens a gateway's own hint and wipes out the back-off's jitter.
QCoro::Task<> preciseWait(std::chrono::milliseconds duration);

} // namespace wrenlow
