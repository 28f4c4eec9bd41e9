#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/MicrophoneSample.h"
#include "audio/SampleRecorder.h"
#include "common/ShellQuote.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace wrenlow;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Logs what it is asked to do; completes its file with "new sample" when stopped.
struct StandInRecorder : SampleRecorder
{
    StandInRecorder(QString file, bool starts, QStringList &events)
        : file(std::move(file))
        , starts(starts)
        , events(events)
    {}
    bool record() override { return (events << "record", starts); }
    QCoro::Task<> stop() override
    {
        events << "stop";
        writeFile(file, "new sample");
        co_return;
    }
    QString file;
    bool starts;
    QStringList &events;
};

} // namespace

// The microphone test's course through its seams, and the folder the sample is kept in.
class TestMicrophoneSample : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_work;
    // The temporary folder the product sees; its name holds what a shell would act on if it were not quoted.
    const QString m_temp = m_work.filePath("it's a \"tmp\" $(touch pwned) `touch pwned`");

private slots:
    void initTestCase()
    {
        qputenv("ZDOTDIR", QDir::tempPath().toUtf8() + "/wrenlow-no-zdotdir");
        qputenv("TMPDIR", QFile::encodeName(m_temp));
    }

    void init()
    {
        QVERIFY(QDir(m_work.path()).removeRecursively() && QDir().mkpath(m_temp));
        QCOMPARE(::chmod(QFile::encodeName(m_temp).constData(), 0700), 0);
        // Anything the shell were tricked into running would land here.
        QDir::setCurrent(m_work.path());
    }

    void course_data()
    {
        QTest::addColumn<bool>("granted");
        QTest::addColumn<bool>("recordStarts");
        QTest::addColumn<int>("playerStatus");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("events"); // "create" only where the old sample is gone by then
        const QStringList whole{"create", "record", "sleep 3000", "stop"};
        const QString error = "AudioDiagnosticError: ";
        // clang-format off
        QTest::newRow("access refused: nothing touched") << false << true << 0 << error + "Microphone access was not granted." << QStringList{};
        QTest::newRow("recording refuses to start") << true << false << 0 << error + "The microphone sample could not be recorded." << QStringList{"create", "record"};
        QTest::newRow("status 0 means played") << true << true << 0 << ": " << whole;
        QTest::newRow("player error") << true << true << 1 << error + "The recorded sample could not be played back." << whole;
        // clang-format on
    }

    void course()
    {
        QFETCH(bool, granted);
        QFETCH(bool, recordStarts);
        QFETCH(int, playerStatus);
        const QString sample = m_temp + "/wrenlow-microphone-test.m4a", playerLog = m_work.filePath("player.log");
        writeFile(sample, "old sample");
        QStringList events;
        AudioPlatform platform;
        platform.microphoneAccess = [granted]() -> QCoro::Task<bool> { co_return granted; };
        platform.sampleRecorder = [&](const QString &file) -> std::unique_ptr<SampleRecorder> {
            events << (QFile::exists(file) ? "create over the old sample" : "create");
            return std::make_unique<StandInRecorder>(file, recordStarts, events);
        };
        platform.sleep = [&events](std::chrono::milliseconds wait) -> QCoro::Task<> {
            events << QStringLiteral("sleep %1").arg(wait.count());
            co_return;
        };
        // The player, a shell function run by the real command runner, notes the path it was given.
        platform.samplePlayer =
            QString("play() { printf '%s' \"$1\" > %1; exit %2; }; play").arg(shellQuoted(playerLog)).arg(playerStatus);
        const test::AudioOutcome outcome =
            test::outcomeOf(AudioDiagnosticService(std::move(platform)).recordAndPlayMicrophoneSample());
        QTEST(outcome.type + ": " + outcome.description, "outcome");
        // Errors compare and hash by kind: among the three kinds, the one caught is found as the kind its text names.
        const QSet<AudioDiagnosticError> kinds{AudioDiagnosticError::microphoneDenied(),
                                               AudioDiagnosticError::recordingFailed(),
                                               AudioDiagnosticError::playbackFailed()};
        QCOMPARE(kinds.size(), 3);
        if (outcome.error) {
            QVERIFY(kinds.contains(*outcome.error));
            QCOMPARE(kinds.constFind(*outcome.error)->description(), outcome.description);
        }
        QTEST(events, "events");
        // This run's sample stays after playback, whether or not it could be played.
        const bool recorded = events.contains("stop");
        QCOMPARE(readAll(sample), events.isEmpty() ? "old sample" : recorded ? "new sample" : "");
        QCOMPARE(readAll(playerLog), recorded ? sample : QString());
        QVERIFY2(!QFile::exists(m_work.filePath("pwned")), "the sample's path ran as a command");
    }

    void sampleFolder_data()
    {
        QTest::addColumn<QString>("subfolder"); // what stands in the subfolder's place beforehand
        QTest::addColumn<int>("tempMode");      // 0: the temporary folder does not exist
        QTest::addColumn<QString>("expected");  // %1 the temporary folder, %2 the subfolder

        const QString inSubfolder = "%2/wrenlow-microphone-test.m4a";
        const QString notPrivate = "The folder %2 for the microphone sample is not private to this user.";
        // clang-format off
        QTest::newRow("private temporary folder, used as it is") << "" << 0700 << "%1/wrenlow-microphone-test.m4a";
        QTest::newRow("shared temporary folder: private subfolder") << "" << 01777 << inSubfolder;
        QTest::newRow("our subfolder from before") << "private" << 01777 << inSubfolder;
        QTest::newRow("subfolder others can write") << "open" << 01777 << notPrivate;
        QTest::newRow("subfolder is a link") << "link" << 01777 << notPrivate;
        QTest::newRow("subfolder of another user") << "foreign" << 01777 << notPrivate;
        QTest::newRow("temporary folder missing") << "" << 0 << "The temporary folder %1 does not exist.";
        // clang-format on
    }

    void sampleFolder()
    {
        QFETCH(QString, subfolder);
        QFETCH(int, tempMode);
        QFETCH(QString, expected);
        const QString sub = m_temp + "/wrenlow-" + QString::number(::getuid());
        if (subfolder == "foreign" && ::geteuid() != 0)
            QSKIP("Giving a folder to another user needs root.");
        if (tempMode == 0)
            QVERIFY(QDir(m_temp).removeRecursively());
        else
            QCOMPARE(::chmod(QFile::encodeName(m_temp).constData(), mode_t(tempMode)), 0);
        if (subfolder == "link")
            QVERIFY(QFile::link(m_work.path(), sub));
        else if (!subfolder.isEmpty())
            QVERIFY(QDir().mkdir(sub) &&
                    ::chmod(QFile::encodeName(sub).constData(), subfolder == "open" ? 0777 : 0700) == 0);
        if (subfolder == "foreign")
            QCOMPARE(::chown(QFile::encodeName(sub).constData(), 65534, 65534), 0);

        QString result;
        try {
            result = microphoneSamplePath();
        } catch (const PlatformError &refusal) {
            result = refusal.description();
        }
        QCOMPARE(result, QString(expected).replace("%1", m_temp).replace("%2", sub));
        // The subfolder is made only when it is used, and then only for this user.
        struct stat info = {};
        if (expected.startsWith("%1/"))
            QVERIFY(!QFileInfo::exists(sub));
        else if (expected.startsWith("%2/"))
            QVERIFY(::lstat(QFile::encodeName(sub).constData(), &info) == 0 && (info.st_mode & 07777) == 0700);
    }
};

QTEST_GUILESS_MAIN(TestMicrophoneSample)
#include "TestMicrophoneSample.moc"
