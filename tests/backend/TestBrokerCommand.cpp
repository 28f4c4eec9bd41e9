#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The exit status and the JSON lines that wzdev printed.
std::pair<int, QList<QJsonObject>> wzdev(const QStringList &arguments)
{
    QProcess process;
    process.start(WRENLOW_WZDEV_EXECUTABLE, arguments);
    process.waitForFinished(10000);
    QList<QJsonObject> lines;
    for (const QByteArray &line : process.readAllStandardOutput().trimmed().split('\n'))
        lines.append(QJsonDocument::fromJson(line).object());
    return {process.exitCode(), lines};
}

} // namespace

// The developer tool against the stand-in gateway's executable, as a scripted check runs them.
class TestBrokerCommand : public QObject
{
    Q_OBJECT

private slots:
    void pinSignInListsOptionsAgainstTheStandIn()
    {
        QTemporaryDir folder;
        const QString log = folder.filePath("requests.jsonl");
        QProcess standIn;
        standIn.start(WRENLOW_STANDIN_EXECUTABLE,
                      {"--listen", "127.0.0.1:0", "--scenario", WRENLOW_BROKER_SCENARIO, "--log", log});
        QVERIFY(standIn.waitForReadyRead(5000));
        const QString base = QString::fromUtf8(standIn.readLine()).trimmed().section(' ', -1);

        const auto [status, lines] =
            wzdev({"broker", "--base", base, "--pin", "login", " tech1 ", "123456", "options"});
        QCOMPARE(status, 0);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).value("displayName"), "Ada Lovelace");
        QVERIFY(!lines.at(0).contains("access_token"));
        QCOMPARE(lines.at(1).value("lots").toArray().size(), 2);
        QCOMPARE(lines.at(1).value("unit_categories").toArray().at(1).toObject().value("label"), "Desktop");

        const auto [refusedStatus, refused] =
            wzdev({"broker", "--base", base, "--pin", "login", "tech1", "12345", "me"});
        QCOMPARE(refusedStatus, 1);
        QCOMPARE(refused, (QList<QJsonObject>{{{"error", "A Korvane PIN must contain exactly six digits."}},
                                              {{"error", "Sign in to Korvane before continuing."}}}));
        standIn.kill();
        standIn.waitForFinished();

        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArrayList requests = file.readAll().trimmed().split('\n');
        QCOMPARE(requests.size(), 2); // the refused PIN sent nothing
        const QJsonObject login = QJsonDocument::fromJson(requests.at(0)).object();
        const QJsonObject options = QJsonDocument::fromJson(requests.at(1)).object();
        QCOMPARE(login.value("path"), "/api/v1/auth/login");
        QVERIFY(!login.value("headers").toObject().contains("authorization"));
        QCOMPARE(login.value("body"), R"({"identifier":"tech1","pin":"123456"})");
        QCOMPARE(options.value("path"), "/api/v1/units/creation-options");
        QCOMPARE(options.value("headers").toObject().value("authorization"), "Bearer tok-standin-1");
    }

    void unreachableGatewayIsReportedPromptly()
    {
        QElapsedTimer clock;
        clock.start();
        const auto [status, lines] = wzdev({"broker", "--base", "http://127.0.0.1:1/", "probe"});
        QCOMPARE(status, 0);
        QCOMPARE(lines, (QList<QJsonObject>{{{"reachable", false}}}));
        QVERIFY2(clock.elapsed() < 2000, QByteArray::number(clock.elapsed()));
    }
};

QTEST_GUILESS_MAIN(TestBrokerCommand)
#include "TestBrokerCommand.moc"
