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
    // One pass over the UTF-16 units: a text from outside can be megabytes long. A carriage return is a control
    // like any other, so a CRLF ends as a plain line break; half a surrogate pair is no character.
    const auto dropped = [](char32_t c) {
        return (QChar::category(c) == QChar::Other_Control && c != U'\n' && c != U'\t') || isDirectionControl(c) ||
               c == 0xFFFD;
    };
    QString clean(text.size(), Qt::Uninitialized);
    QChar *out = clean.data();
    const QChar *in = text.constData();
    const QChar *const end = in + text.size();
    for (; in != end; ++in) {
        if (in->isSurrogate()) {
            if (in->isHighSurrogate() && in + 1 != end && in[1].isLowSurrogate()) {
                if (!dropped(QChar::surrogateToUcs4(in[0], in[1]))) {
                    *out++ = in[0];
                    *out++ = in[1];
                }
                ++in;
            }
        } else if (*in == QLatin1Char('\t')) {
            *out++ = QLatin1Char(' ');
        } else if (!dropped(in->unicode())) {
            *out++ = *in;
        }
    }
    clean.truncate(out - clean.constData());
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
