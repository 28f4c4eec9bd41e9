#include "SelfSignedCertificate.h"

#include <QFile>
#include <QProcess>

namespace wrenlow::test {

SelfSignedCertificate::SelfSignedCertificate()
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-addext", "basicConstraints=critical,CA:TRUE",
                              "-keyout", keyPath(), "-out", certificatePath()});
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        m_error = "openssl failed: " + openssl.errorString() + ' ' + QString::fromLocal8Bit(openssl.readAll());
        return;
    }
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(certificatePath());
    if (!certificates.isEmpty())
        m_certificate = certificates.first();
    m_key = readKey(keyPath());
    if (!isValid())
        m_error = "openssl wrote a certificate or key that Qt cannot read";
}

QSslConfiguration SelfSignedCertificate::trustingConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificate(m_certificate);
    return configuration;
}

QSslKey SelfSignedCertificate::readKey(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pem = file.readAll();
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec}) {
        QSslKey key(pem, algorithm);
        if (!key.isNull())
            return key;
    }
    return {};
}

} // namespace wrenlow::test
