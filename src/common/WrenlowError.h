#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace wrenlow {

// The base of every error the product raises: a text a technician can read, shown in a status line.
class WrenlowError : public std::exception
{
public:
    explicit WrenlowError(QString description);

    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// A failure of the platform underneath (file system, network, audio engine) carried with the platform's own text.
class PlatformError : public WrenlowError
{
public:
    using WrenlowError::WrenlowError;
};

} // namespace wrenlow
