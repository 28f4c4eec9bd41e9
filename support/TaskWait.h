#pragma once

#include <QCoroTask>

class QEventLoop;

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

namespace wrenlow::support {

namespace detail {

template <typename T> using TaskResult = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

// Shared with the settling coroutine, which may outlive a wait that gave up.
template <typename T> struct Settlement
{
    std::optional<TaskResult<T>> result;
    std::exception_ptr error;
    bool done = false;
    // The loop of the wait, while someone waits.
    QEventLoop *loop = nullptr;
};

// Runs an event loop, published in `loop` while it runs, until `done` or the limit; throws std::runtime_error
// naming the limit when it passes.
void runEventsUntil(const bool &done, QEventLoop *&loop, std::chrono::milliseconds limit);
void wake(QEventLoop *loop);

template <typename T> QCoro::Task<> settle(QCoro::Task<T> task, std::shared_ptr<Settlement<T>> settlement)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            settlement->result.emplace();
        } else {
            settlement->result.emplace(co_await task);
        }
    } catch (...) {
        settlement->error = std::current_exception();
    }
    settlement->done = true;
    wake(settlement->loop);
}

} // namespace detail

// Runs a task to its end in a nested event loop, for tests and developer tools. Unlike QCoro 0.8's waitFor,
// which never returns when the task throws, this hands the task's exception on to the caller. A task that has
// not ended within `limit` fails the wait with std::runtime_error, so a hung exchange fails in seconds rather
// than at the test runner's time-out.
template <typename T> T waitForTask(QCoro::Task<T> task, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto settlement = std::make_shared<detail::Settlement<T>>();
    // Destroying a task before it ends lets it run on by itself; the shared settlement keeps its writes valid.
    const QCoro::Task<> settling = detail::settle(std::move(task), settlement);
    detail::runEventsUntil(settlement->done, settlement->loop, limit);
    if (settlement->error)
        std::rethrow_exception(settlement->error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*settlement->result);
}

} // namespace wrenlow::support
