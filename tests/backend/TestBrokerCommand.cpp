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
        QProcess standIn;
        standIn.start(WRENLOW_STANDIN_EXECUTABLE, {"--listen", "127.0.0.1:0", "--scenario", WRENLOW_BROKER_SCENARIO,
                                                   "--log", folder.filePath("requests.jsonl")});
        QVERIFY(standIn.waitForReadyRead(5000));
        const QString base = QString::fromUtf8(standIn.readLine()).trimmed().section(' ', -1);

        const auto [status, lines] =
            wzdev({"broker", "--base", base, "--pin", "probe", "login", " tech1 ", "123456", "options"});
        QCOMPARE(status, 0);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), (QJsonObject{{"reachable", true}}));
        QCOMPARE(lines.at(1).value("displayName"), "Ada Lovelace");
        QVERIFY(!lines.at(1).contains("access_token"));
        QCOMPARE(lines.at(2).value("lots").toArray().size(), 2);
        QCOMPARE(lines.at(2).value("unit_categories").toArray().at(1).toObject().value("label"), "Desktop");
        standIn.kill();
        standIn.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestBrokerCommand)
#include "TestBrokerCommand.moc"
