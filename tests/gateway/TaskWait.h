#pragma once

#include <QCoroTask>
#include <QEventLoop>

#include <exception>
#include <optional>
#include <type_traits>
#include <variant>

namespace wrenlow::test {

namespace detail {

template <typename T> using TaskResult = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

template <typename T>
QCoro::Task<> settle(QCoro::Task<T> &task, std::optional<TaskResult<T>> &result, std::exception_ptr &error, bool &done,
                     QEventLoop &loop)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            result.emplace();
        } else {
            result.emplace(co_await task);
        }
    } catch (...) {
        error = std::current_exception();
    }
    done = true;
    loop.quit();
}

} // namespace detail

// Runs a task to its end in a nested event loop, for tests and developer tools. Unlike QCoro 0.8's waitFor,
// which never returns when the task throws, this hands the task's exception on to the caller.
template <typename T> T waitForTask(QCoro::Task<T> task)
{
    QEventLoop loop;
    std::optional<detail::TaskResult<T>> result;
    std::exception_ptr error;
    bool done = false;
    const QCoro::Task<> settling = detail::settle(task, result, error, done, loop);
    if (!done)
        loop.exec();
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*result);
}

} // namespace wrenlow::test
