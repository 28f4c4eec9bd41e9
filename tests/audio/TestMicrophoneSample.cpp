#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/MicrophoneSample.h"
#include "audio/SampleRecorder.h"
#include "common/ShellQuote.h"

#include <QDir>
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

void setMode(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// Logs what it is asked to do; completes its file with "new sample" when stopped.
struct StandInRecorder : SampleRecorder
{
    StandInRecorder(QString file, bool starts, QStringList *events)
        : file(std::move(file))
        , starts(starts)
        , events(events)
    {}
    bool record() override
    {
        *events << "record";
        return starts;
    }
    QCoro::Task<> stop() override
    {
        *events << "stop";
        writeFile(file, "new sample");
        co_return;
    }
    QString file;
    bool starts;
    QStringList *events;
};

// How the stand-ins behave, and what they saw.
struct Rig
{
    bool granted = true;
    bool recordStarts = true;
    QStringList events = {};
    bool oldSampleGoneAtCreation = false;

    AudioPlatform platform()
    {
        AudioPlatform platform;
        platform.microphoneAccess = [this]() -> QCoro::Task<bool> { co_return granted; };
        platform.sampleRecorder = [this](const QString &file) -> std::unique_ptr<SampleRecorder> {
            events << "create";
            oldSampleGoneAtCreation = !QFile::exists(file);
            return std::make_unique<StandInRecorder>(file, recordStarts, &events);
        };
        platform.sleep = [this](std::chrono::milliseconds duration) -> QCoro::Task<> {
            events << QStringLiteral("sleep %1").arg(duration.count());
            co_return;
        };
        return platform;
    }
};

} // namespace

Q_DECLARE_METATYPE(Rig)

// The microphone test's course through its seams, playing back with the real command runner and a stand-in
// player script; and the folder the sample is kept in.
class TestMicrophoneSample : public QObject
{
    Q_OBJECT

private:
    QByteArray m_savedTemp = qgetenv("TMPDIR");
    QString m_savedCurrent = QDir::currentPath();
    std::unique_ptr<QTemporaryDir> m_work;
    // The temporary folder the product sees; its name holds what a shell would act on if it were not quoted.
    QString m_temp;

private slots:
    void initTestCase() { qputenv("ZDOTDIR", QDir::tempPath().toUtf8() + "/wrenlow-no-zdotdir"); }

    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        m_temp = m_work->filePath("it's a \"tmp\" $(touch pwned) `touch pwned`");
        QVERIFY(QDir().mkpath(m_temp));
        setMode(m_temp, 0700);
        qputenv("TMPDIR", QFile::encodeName(m_temp));
        // Anything the shell were tricked into running would land here.
        QDir::setCurrent(m_work->path());
    }

    void cleanup()
    {
        QDir::setCurrent(m_savedCurrent);
        qputenv("TMPDIR", m_savedTemp);
        m_work.reset();
    }

    void course_data()
    {
        QTest::addColumn<Rig>("rig");
        QTest::addColumn<QString>("playerBody"); // the player is given half a second when it sleeps
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("events");

        const QStringList whole{"create", "record", "sleep 3000", "stop"};
        const QString error = "AudioDiagnosticError", notPlayed = "The recorded sample could not be played back.";
        // clang-format off
        QTest::newRow("access refused: nothing touched") << Rig{.granted = false} << "exit 0" << error << "Microphone access was not granted." << QStringList{};
        QTest::newRow("recording refuses to start") << Rig{.recordStarts = false} << "exit 0" << error << "The microphone sample could not be recorded." << QStringList{"create", "record"};
        QTest::newRow("status 0 means played") << Rig{} << "exit 0" << QString() << QString() << whole;
        QTest::newRow("player error") << Rig{} << "exit 1" << error << notPlayed << whole;
        QTest::newRow("player past the limit") << Rig{} << "sleep 30" << error << notPlayed << whole;
        // clang-format on
    }

    void course()
    {
        QFETCH(Rig, rig);
        QFETCH(QString, playerBody);
        // The player notes the path it was given, then does what the row says.
        const QString player = m_work->filePath("player"), playerLog = m_work->filePath("player.log");
        writeFile(player,
                  ("#!/bin/sh\nprintf '%s' \"$1\" > " + shellQuoted(playerLog) + "\n" + playerBody + "\n").toUtf8());
        setMode(player, 0700);
        const QString sample = m_temp + "/wrenlow-microphone-test.m4a";
        writeFile(sample, "old sample");
        AudioPlatform platform = rig.platform();
        platform.samplePlayer = shellQuoted(player);
        platform.playbackLimit = playerBody.startsWith("sleep") ? 0.5 : 12.0;
        const test::AudioOutcome outcome =
            test::outcomeOf(AudioDiagnosticService(std::move(platform)).recordAndPlayMicrophoneSample());

        QTEST(outcome.type, "type");
        QTEST(outcome.description, "description");
        QTEST(rig.events, "events");
        if (rig.events.isEmpty())
            QCOMPARE(readAll(sample), QString("old sample"));
        else
            QVERIFY2(rig.oldSampleGoneAtCreation, "the old sample must be gone before recording");
        // This run's sample stays after playback, whether or not it could be played.
        const bool recorded = rig.events.contains("stop");
        QCOMPARE(readAll(sample) == "new sample", recorded);
        QCOMPARE(readAll(playerLog), recorded ? sample : QString());
        QVERIFY2(!QFile::exists(m_work->filePath("pwned")), "the sample's path ran as a command");
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
            setMode(m_temp, mode_t(tempMode));
        if (subfolder == "link") {
            QVERIFY(QDir().mkdir(m_work->filePath("elsewhere")));
            QVERIFY(QFile::link(m_work->filePath("elsewhere"), sub));
        } else if (!subfolder.isEmpty()) {
            QVERIFY(QDir().mkdir(sub));
            setMode(sub, subfolder == "open" ? 0777 : 0700);
        }
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
