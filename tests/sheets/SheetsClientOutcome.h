#pragma once

#include "sheets/SheetsClientError.h"

#include "TaskWait.h"

#include <QString>

namespace wrenlow::test {

// How a client operation ended, as one comparable text: "returned", "<kind>: <description>" for the Sheets
// error, "platform: <description>" for a platform failure.
template <typename T> QString outcome(QCoro::Task<T> task)
{
    try {
        waitForTask(std::move(task));
        return "returned";
    } catch (const SheetsClientError &error) {
        static const char *const kinds[] = {"server", "notAuthenticated", "invalidResponse"};
        return QString(kinds[int(error.kind())]) + ": " + error.description();
    } catch (const PlatformError &error) {
        return "platform: " + error.description();
    }
}

} // namespace wrenlow::test
