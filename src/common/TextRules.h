#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The text rules that the scan, the reports and the sheet rows share.
namespace wrenlow {

// Trims blanks and tabs (every Unicode space separator and the tab) from both ends but keeps line breaks, unlike
// QString::trimmed: the rule by which the pieces of a "|"-separated row value are cleaned.
QString trimmedOfBlanks(const QString &text);

// Text from outside the program (gateway replies and errors, tool output, file names) made safe to show and to
// edit: control and direction-override characters removed, tabs as spaces, line breaks kept.
QString cleanOutsideText(const QString &text);

// The same for a one-line field: line breaks become spaces as well.
QString cleanOutsideLine(const QString &text);

// The non-empty pieces joined with the separator.
QString joinNonEmpty(const QStringList &pieces, QStringView separator);

// A decimal integer as the whole text: an optional sign and ASCII digits, nothing else (no blanks), within the
// 64-bit range.
std::optional<qint64> decimalInteger(const QString &text);

} // namespace wrenlow
