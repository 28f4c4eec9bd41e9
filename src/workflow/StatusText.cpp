#include "workflow/StatusText.h"

#include "common/WrenlowError.h"

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
    if (const auto *ours = dynamic_cast<const WrenlowError *>(&error))
        return ours->description();
    return QString::fromUtf8(error.what());
}

QString describeCurrent()
{
    try {
        throw;
    } catch (const std::exception &error) {
        return describe(error);
    } catch (...) {
        return QStringLiteral("An unexpected error occurred.");
    }
}

} // namespace wrenlow::status
