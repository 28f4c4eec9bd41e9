#include "backend/KorvaneErrors.h"

#include "common/JsonFields.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include <ctype.h>
#include <locale.h>
#include <stdlib.h>
#ifdef __APPLE__
#include <xlocale.h> // the _l variants of the C library
#endif

namespace wrenlow {

namespace {

// The first member of these objects that passes the test, in order.
template <typename Test>
QJsonValue firstMatching(std::initializer_list<QJsonObject> objects, const QString &key, Test test)
{
    for (const QJsonObject &object : objects) {
        const QJsonValue value = object.value(key);
        if (test(value))
            return value;
    }
    return QJsonValue(QJsonValue::Undefined);
}

// The whole text read as C's strtod reads it in the C locale (decimals, exponents, hexadecimal, "nan", "inf"),
// or nothing. The C library's own reader, given the C locale explicitly, because the application has set the
// user's locale (a decimal comma) and Qt's reader knows neither hexadecimal nor every spelling of not-a-number.
std::optional<double> cLocaleNumber(const QByteArray &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    // strtod would skip leading blanks by itself; here they make the text unreadable, as trailing ones do.
    if (!cLocale || text.isEmpty() || isspace_l(static_cast<unsigned char>(text.front()), cLocale))
        return std::nullopt;
    const char *const begin = text.constData(); // always ends in a NUL, so an embedded one ends the reading early
    char *end = nullptr;
    const double number = strtod_l(begin, &end, cLocale);
    if (end != begin + text.size())
        return std::nullopt;
    return number;
}

// Seconds, the whole text or nothing. A wait that is infinite or does not fit 64 bits of milliseconds is no usable
// hint.
std::optional<qint64> retryAfterFromHeader(const QByteArray &header)
{
    const std::optional<double> seconds = cLocaleNumber(header);
    if (!seconds)
        return std::nullopt;
    if (std::isnan(*seconds))
        return 0;
    const double milliseconds = std::max(0.0, *seconds * 1000.0);
    constexpr double firstBeyondInt64 = 9223372036854775808.0; // 2 to the power of 63
    if (!(milliseconds < firstBeyondInt64))
        return std::nullopt;
    return qint64(milliseconds);
}

QString descriptionOf(KorvaneClientError::Kind kind)
{
    switch (kind) {
    case KorvaneClientError::Kind::InvalidPin:
        return QStringLiteral("A Korvane PIN must contain exactly six digits.");
    case KorvaneClientError::Kind::NotSignedIn:
        return QStringLiteral("Sign in to Korvane before continuing.");
    case KorvaneClientError::Kind::InvalidResponse:
        return QStringLiteral("The Wrenlow service returned an unreadable response.");
    case KorvaneClientError::Kind::WrongToolSource:
        return QStringLiteral("The Wrenlow broker returned an unexpected tool identity.");
    case KorvaneClientError::Kind::BridgeUnavailable:
        return QStringLiteral("The Wrenlow backend gateway is unavailable.");
    }
    Q_UNREACHABLE();
}

} // namespace

KorvaneApiError::KorvaneApiError(qint64 statusCode, std::optional<QString> code, QString message, bool retryable,
                                 std::optional<qint64> retryAfterMs)
    : WrenlowError(std::move(message))
    , m_statusCode(statusCode)
    , m_code(std::move(code))
    , m_retryable(retryable)
    , m_retryAfterMs(retryAfterMs)
{}

KorvaneApiError KorvaneApiError::fromAnswer(qint64 statusCode, const QByteArray &body,
                                            const QByteArray &retryAfterHeader)
{
    std::optional<QString> code;
    QString message = QStringLiteral("Wrenlow backend returned HTTP %1.").arg(statusCode);
    bool retryable = statusCode == 429 || statusCode == 503;
    std::optional<qint64> retryAfterMs;

    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isObject()) {
        const QJsonObject root = document.object();
        const QJsonValue nested = root.value(QStringLiteral("error"));
        const QJsonObject envelope = nested.isObject() ? nested.toObject() : root;

        const QJsonValue codeValue = envelope.value(QStringLiteral("code"));
        if (codeValue.isString())
            code = codeValue.toString();
        const auto isString = [](const QJsonValue &value) { return value.isString(); };
        const QJsonValue messageValue = firstMatching({envelope, root}, QStringLiteral("message"), isString);
        if (messageValue.isString())
            message = messageValue.toString();
        const auto isBool = [](const QJsonValue &value) { return value.isBool(); };
        const QJsonValue retryableValue = firstMatching({envelope, root}, QStringLiteral("retryable"), isBool);
        if (retryableValue.isBool())
            retryable = retryableValue.toBool();
        const auto isWhole = [](const QJsonValue &value) { return json::exactInteger(value).has_value(); };
        retryAfterMs = json::exactInteger(firstMatching({envelope, root}, QStringLiteral("retryAfterMs"), isWhole));
    }
    if (!retryAfterMs)
        retryAfterMs = retryAfterFromHeader(retryAfterHeader);
    return {statusCode, code, message, retryable, retryAfterMs};
}

KorvaneClientError::KorvaneClientError(Kind kind)
    : WrenlowError(descriptionOf(kind))
    , m_kind(kind)
{}

size_t qHash(const KorvaneClientError &error, size_t seed)
{
    return ::qHash(int(error.kind()), seed);
}

} // namespace wrenlow
