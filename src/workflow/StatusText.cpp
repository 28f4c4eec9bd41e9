#include "workflow/StatusText.h"

#include "common/WrenlowError.h"

#include <QException>

#include <new>

namespace wrenlow::status {

QString counted(qint64 count, const QString &noun, const QString &plural, const QString &singular)
{
    return QString::number(count) + u' ' + noun + (count == 1 ? singular : plural);
}

QString rowPart(std::optional<qint64> rowNumber)
{
    return rowNumber ? QStringLiteral(" row ") + QString::number(*rowNumber) : QString();
}

QString describe(const std::exception &error)
{
    // Only our own errors carry words for a technician; a library's text ("std::bad_alloc") is not one.
    if (const auto *ours = dynamic_cast<const WrenlowError *>(&error))
        return ours->description();
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return QStringLiteral("There was not enough memory to finish.");
    return QStringLiteral("An unexpected error occurred.");
}

QString describeCurrent()
{
    try {
        throw;
    } catch (const QUnhandledException &wrapped) {
        // A worker thread's exception, handed over by Qt Concurrent: described by what it wraps.
        if (!wrapped.exception())
            return describe(wrapped);
        try {
            std::rethrow_exception(wrapped.exception());
        } catch (...) {
            return describeCurrent();
        }
    } catch (const std::exception &error) {
        return describe(error);
    } catch (...) {
        return QStringLiteral("An unexpected error occurred.");
    }
}

} // namespace wrenlow::status
