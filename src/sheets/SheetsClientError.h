#pragma once

#include "common/WrenlowError.h"

namespace wrenlow {

// The one error of the Sheets subsystem: the payload builder's validation messages, the gateway's refusals and
// replies that cannot be used, and pending-upload files that are not JSON objects.
class SheetsClientError : public WrenlowError
{
public:
    enum class Kind { Server, NotAuthenticated, InvalidResponse };

    static SheetsClientError server(const QString &message);
    static SheetsClientError notAuthenticated();
    static SheetsClientError invalidResponse();

    Kind kind() const { return m_kind; }

private:
    SheetsClientError(Kind kind, const QString &description);

    Kind m_kind;
};

} // namespace wrenlow
