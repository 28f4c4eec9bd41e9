#include "common/ShellQuote.h"

namespace wrenlow {

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    // Inside single quotes nothing is special except the closing quote itself.
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace wrenlow
