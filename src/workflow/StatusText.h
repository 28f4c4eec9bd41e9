#pragma once

#include <QString>

#include <exception>
#include <optional>

namespace wrenlow::status {

// "1 project", "3 projects": the noun's plural ending is left out only for exactly one.
QString counted(qint64 count, const QString &noun, const QString &plural = QStringLiteral("s"),
                const QString &singular = QString());
// " row 12" for a known sheet row, nothing otherwise.
QString rowPart(std::optional<qint64> rowNumber);
// The text a technician reads for a failure: our own errors' descriptions, anything else's message.
QString describe(const std::exception &error);
// The same for whatever is being handled in the enclosing catch block.
QString describeCurrent();

} // namespace wrenlow::status
