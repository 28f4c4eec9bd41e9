#include "common/WrenlowError.h"

namespace wrenlow {

WrenlowError::WrenlowError(QString description)
    : m_description(std::move(description))
    , m_utf8(m_description.toUtf8())
{
}

} // namespace wrenlow
