#include "workflow/StatusText.h"

#include "common/WrenlowError.h"

#include <array>
#include <charconv>

namespace wrenlow::status {

QString counted(qint64 count, const QString &noun, const QString &plural, const QString &singular)
{
    return QString::number(count) + u' ' + noun + (count == 1 ? singular : plural);
}

QString fixed(double value, int decimals)
{
    std::array<char, 400> digits{}; // the widest double in fixed notation fits
    const std::to_chars_result end =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(digits.data(), end.ptr - digits.data());
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
