#include "common/TextRules.h"

#include <charconv>

namespace wrenlow {

namespace {

bool isBlank(QChar character)
{
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

} // namespace

QString trimmedOfBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

QString joinNonEmpty(const QStringList &pieces, QStringView separator)
{
    QStringList kept;
    for (const QString &piece : pieces) {
        if (!piece.isEmpty())
            kept.append(piece);
    }
    return kept.join(separator);
}

std::optional<qint64> decimalInteger(const QString &text)
{
    const qsizetype signLength = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (text.size() == signLength)
        return std::nullopt;
    for (qsizetype i = signLength; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return std::nullopt;
    }
    // from_chars takes a minus but no plus.
    const QByteArray digits = text.mid(text.startsWith(u'+') ? 1 : 0).toLatin1();
    qint64 value = 0;
    const auto [end, error] = std::from_chars(digits.constData(), digits.constData() + digits.size(), value);
    if (error != std::errc() || end != digits.constData() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace wrenlow
