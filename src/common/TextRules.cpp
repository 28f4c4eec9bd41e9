#include "common/TextRules.h"

#include <charconv>

namespace wrenlow {

namespace {

bool isBlank(QChar character)
{
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

bool isDirectionControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F;
}

} // namespace

QString cleanOutsideText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    const QString unified = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const char32_t c : unified.toUcs4()) {
        if (c == U'\n')
            clean.append(QLatin1Char('\n'));
        else if (c == U'\t')
            clean.append(QLatin1Char(' '));
        else if (QChar::category(c) == QChar::Other_Control || isDirectionControl(c) || c == 0xFFFD)
            continue;
        else
            clean.append(QString::fromUcs4(&c, 1));
    }
    return clean;
}

QString cleanOutsideLine(const QString &text)
{
    return cleanOutsideText(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

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
