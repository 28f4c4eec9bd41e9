#pragma once

#include <QByteArray>
#include <QVariant>

namespace wrenlow {

// Reads an XML or binary property list (as `ioreg -a` prints) into Qt values:
// dict -> QVariantMap, array -> QVariantList, string -> QString, integer -> qint64 (quint64 above the
// signed range), real -> double, true/false -> bool, data -> QByteArray, date -> QDateTime (UTC).
class PropertyList
{
public:
    // Deeper documents are refused rather than risking the stack on hostile input.
    static constexpr int maxDepth = 256;

    // Throws PlatformError when the document is empty, malformed, truncated or too deep.
    static QVariant parse(const QByteArray &document);
};

} // namespace wrenlow
