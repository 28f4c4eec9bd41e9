#pragma once

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QString>
#include <QTemporaryDir>

namespace wrenlow::test {

// A self-signed certificate for 127.0.0.1 made with the openssl command when a test starts; it is its own
// certificate authority, so a test can trust it explicitly.
class SelfSignedCertificate
{
public:
    SelfSignedCertificate();

    // False, with the reason in error(), when openssl is missing or failed.
    bool isValid() const { return !m_certificate.isNull() && !m_key.isNull(); }
    QString error() const { return m_error; }

    const QSslCertificate &certificate() const { return m_certificate; }
    const QSslKey &key() const { return m_key; }
    // The system's TLS settings with this certificate trusted as an authority.
    QSslConfiguration trustingConfiguration() const;
    QString certificatePath() const { return m_folder.filePath("certificate.pem"); }
    QString keyPath() const { return m_folder.filePath("key.pem"); }

    // Reads a PEM key of any algorithm the stand-in can serve (RSA, EC).
    static QSslKey readKey(const QString &path);

private:
    QTemporaryDir m_folder;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_error;
};

} // namespace wrenlow::test
