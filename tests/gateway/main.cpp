// wrenlow-gateway-standin --listen HOST:PORT --scenario FILE.json --log FILE.jsonl [--tls CERT KEY]
// Serves the scenario on loopback until it is stopped and logs every request as one JSON line. Each line read
// on standard input releases the answers that the scenario holds back. Port 0 picks a free port; the base URL
// is printed once the server listens.
#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"

#include "common/WrenlowError.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

int usage()
{
    std::fputs("usage: wrenlow-gateway-standin --listen HOST:PORT --scenario FILE.json --log FILE.jsonl"
               " [--tls CERT KEY]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    QString listen, scenario, log, certificate, key;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        const qsizetype values = option == "--tls" ? 2 : 1;
        if (i + values >= arguments.size())
            return usage();
        if (option == "--listen")
            listen = arguments.at(++i);
        else if (option == "--scenario")
            scenario = arguments.at(++i);
        else if (option == "--log")
            log = arguments.at(++i);
        else if (option == "--tls") {
            certificate = arguments.at(++i);
            key = arguments.at(++i);
        } else
            return usage();
    }
    const qsizetype colon = listen.lastIndexOf(':');
    bool portOk = false;
    const uint port = listen.mid(colon + 1).toUInt(&portOk);
    const QHostAddress address(listen.left(colon));
    if (colon < 0 || !portOk || port > 65535 || address.isNull() || scenario.isEmpty() || log.isEmpty())
        return usage();

    try {
        GatewayStandIn standIn(GatewayScenario::fromFile(scenario));
        QFile logFile(log);
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw PlatformError("Cannot write " + log + ": " + logFile.errorString());
        logFile.close();
        standIn.setLogFile(log);
        if (!certificate.isEmpty()) {
            const QList<QSslCertificate> certificates = QSslCertificate::fromPath(certificate);
            const QSslKey privateKey = SelfSignedCertificate::readKey(key);
            if (certificates.isEmpty() || privateKey.isNull())
                throw PlatformError("Cannot read the certificate " + certificate + " or the key " + key);
            standIn.useTls(certificates.first(), privateKey);
        }
        standIn.listen(address, quint16(port));

        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, &standIn, [&input, &standIn] {
            char buffer[256];
            const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (count <= 0)
                input.setEnabled(false);
            else if (std::memchr(buffer, '\n', size_t(count)))
                standIn.releaseHeld();
        });

        std::printf("Listening on %s\n", standIn.baseUrl().toString().toUtf8().constData());
        std::fflush(stdout);
        return app.exec();
    } catch (const WrenlowError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
