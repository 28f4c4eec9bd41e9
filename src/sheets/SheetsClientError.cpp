#include "sheets/SheetsClientError.h"

namespace wrenlow {

SheetsClientError::SheetsClientError(Kind kind, const QString &description)
    : WrenlowError(description)
    , m_kind(kind)
{}

SheetsClientError SheetsClientError::server(const QString &message)
{
    return {Kind::Server, message};
}

SheetsClientError SheetsClientError::notAuthenticated()
{
    return {Kind::NotAuthenticated, QStringLiteral("Sign in to Korvane to use Sheets routing.")};
}

SheetsClientError SheetsClientError::invalidResponse()
{
    return {Kind::InvalidResponse, QStringLiteral("The Sheets service returned an invalid response.")};
}

} // namespace wrenlow
