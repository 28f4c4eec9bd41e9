#include "GatewayStandIn.h"
#include "SelfSignedCertificate.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace wrenlow;
using namespace wrenlow::test;

namespace {

struct Exchanged
{
    QByteArray bytes;
    qint64 elapsedMs = 0;

    QByteArray body() const { return bytes.mid(bytes.indexOf("\r\n\r\n") + 4); }
};

// Sends raw bytes, over `tls` when given, and collects everything until the stand-in closes the connection.
Exchanged exchange(const QUrl &base, const QByteArray &request, QSslSocket *tls = nullptr)
{
    Exchanged result;
    QElapsedTimer clock;
    clock.start();
    QTcpSocket plain;
    QTcpSocket &socket = tls ? *tls : plain;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { result.bytes += socket.readAll(); });
    if (tls)
        tls->connectToHostEncrypted(base.host(), quint16(base.port()));
    else
        socket.connectToHost(base.host(), quint16(base.port()));
    socket.write(request);
    while (socket.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < 5000)
        QTest::qWait(5);
    result.elapsedMs = clock.elapsed();
    return result;
}

} // namespace

// The client tests use the stand-in in every way; this one smoke test covers what only its executable does:
// arguments, TLS, the log file and releasing held answers from standard input.
class TestGatewayStandIn : public QObject
{
    Q_OBJECT

private slots:
    void executableServesAndLogs()
    {
        QTemporaryDir folder;
        const SelfSignedCertificate certificate;
        QVERIFY2(certificate.isValid(), qPrintable(certificate.error()));
        QFile script(folder.filePath("scenario.json"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(R"({"GET /sheets?action=status": [{"hold": true, "body": "fine"}]})");
        script.close();
        const QString logPath = folder.filePath("log.jsonl");

        QProcess standIn;
        standIn.start(WRENLOW_STANDIN_EXECUTABLE,
                      {"--listen", "127.0.0.1:0", "--scenario", script.fileName(), "--log", logPath, "--tls",
                       certificate.certificatePath(), certificate.keyPath()});
        QVERIFY(standIn.waitForReadyRead(10000));
        const QByteArray banner = standIn.readLine().trimmed();
        QVERIFY2(banner.startsWith("Listening on https://127.0.0.1:"), banner.constData());
        const QUrl base(QString::fromUtf8(banner.mid(banner.indexOf("https://"))));

        QSslSocket socket;
        socket.setSslConfiguration(certificate.trustingConfiguration());
        QTimer::singleShot(300, &standIn, [&] { standIn.write("release\n"); }); // each line releases what is held
        const Exchanged answer =
            exchange(base, "GET /sheets?action=status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", &socket);
        QVERIFY2(answer.elapsedMs >= 300, QByteArray::number(answer.elapsedMs));
        QCOMPARE(answer.body(), "fine");

        standIn.terminate();
        QVERIFY(standIn.waitForFinished(5000));
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), R"({"method": "GET", "path": "/sheets", "query": {"action": "status"}, )"
                                R"("headers": {"host": "127.0.0.1"}, "body": ""})"
                                "\n");
    }
};

QTEST_GUILESS_MAIN(TestGatewayStandIn)
#include "TestGatewayStandIn.moc"
