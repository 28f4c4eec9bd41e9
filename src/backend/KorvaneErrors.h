#pragma once

#include "common/WrenlowError.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace wrenlow {

// A broker answer with a status outside 200 to 299, read from the gateway's error envelope. Its description is
// the envelope's message, or a default naming the status.
class KorvaneApiError : public WrenlowError
{
public:
    KorvaneApiError(qint64 statusCode, std::optional<QString> code, QString message, bool retryable,
                    std::optional<qint64> retryAfterMs);

    // Reads the envelope of a failed answer: its "error" object or the top level, then the "Retry-After" header
    // (whole text, C number syntax, seconds) when the body gives no wait. Never fails.
    static KorvaneApiError fromAnswer(qint64 statusCode, const QByteArray &body, const QByteArray &retryAfterHeader);

    qint64 statusCode() const { return m_statusCode; }
    const std::optional<QString> &code() const { return m_code; }
    const QString &message() const { return description(); }
    bool retryable() const { return m_retryable; }
    std::optional<qint64> retryAfterMs() const { return m_retryAfterMs; }
    bool sessionExpired() const { return m_statusCode == 401; }

private:
    qint64 m_statusCode;
    std::optional<QString> m_code;
    bool m_retryable;
    std::optional<qint64> m_retryAfterMs;
};

// Failures the client finds itself, before or after talking to the broker. Equal when of the same kind.
class KorvaneClientError : public WrenlowError
{
public:
    enum class Kind { InvalidPin, NotSignedIn, InvalidResponse, WrongToolSource, BridgeUnavailable };

    explicit KorvaneClientError(Kind kind);

    Kind kind() const { return m_kind; }
    bool operator==(const KorvaneClientError &other) const { return m_kind == other.m_kind; }

private:
    Kind m_kind;
};
size_t qHash(const KorvaneClientError &error, size_t seed = 0);

} // namespace wrenlow
