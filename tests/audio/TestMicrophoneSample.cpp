#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/MicrophoneSample.h"
#include "audio/SampleRecorder.h"
#include "common/ShellQuote.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace wrenlow;

namespace {

// What the stand-ins saw during one or more runs.
struct RunLog
{
    int accessAsked = 0;
    QStringList events;
    QString recordedTo;
    bool oldSampleGoneAtCreation = false;
};

struct StandIns
{
    bool granted = true;
    bool recorderCannotBeMade = false;
    bool recordStarts = true;
    bool waitBreaksOff = false;
};

// Writes "new sample" into its file when stopped, as a recorder completes its file.
class StandInRecorder : public SampleRecorder
{
public:
    StandInRecorder(QString file, bool starts, std::shared_ptr<RunLog> log)
        : m_file(std::move(file))
        , m_starts(starts)
        , m_log(std::move(log))
    {}

    bool record() override
    {
        m_log->events << "record";
        return m_starts;
    }

    QCoro::Task<> stop() override
    {
        m_log->events << "stop";
        QFile file(m_file);
        if (file.open(QIODevice::WriteOnly))
            file.write("new sample");
        co_return;
    }

private:
    QString m_file;
    bool m_starts;
    std::shared_ptr<RunLog> m_log;
};

AudioPlatform standInPlatform(StandIns standIns, const std::shared_ptr<RunLog> &log, const QString &player)
{
    AudioPlatform platform;
    platform.microphoneAccess = [log, standIns]() -> QCoro::Task<bool> {
        ++log->accessAsked;
        co_return standIns.granted;
    };
    platform.sampleRecorder = [log, standIns](const QString &file) -> std::unique_ptr<SampleRecorder> {
        log->events << "create";
        log->recordedTo = file;
        log->oldSampleGoneAtCreation = !QFile::exists(file);
        if (standIns.recorderCannotBeMade)
            throw PlatformError("No recorder for this file.");
        return std::make_unique<StandInRecorder>(file, standIns.recordStarts, log);
    };
    platform.sleep = [log, standIns](std::chrono::milliseconds duration) -> QCoro::Task<> {
        log->events << QStringLiteral("sleep %1").arg(duration.count());
        if (standIns.waitBreaksOff)
            throw PlatformError("The wait was cancelled.");
        co_return;
    };
    platform.samplePlayer = player;
    return platform;
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::pair<QString, QString> samplePathOrRefusal()
{
    try {
        return {microphoneSamplePath(), QString()};
    } catch (const PlatformError &refusal) {
        return {QString(), refusal.description()};
    }
}

void setMode(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

Q_DECLARE_METATYPE(StandIns)

// The microphone test's course through its seams, with the real command runner playing the sample through a
// stand-in player script, and the folder the sample is kept in.
class TestMicrophoneSample : public QObject
{
    Q_OBJECT

private:
    QByteArray m_savedTemp;
    QString m_savedCurrent;
    std::unique_ptr<QTemporaryDir> m_work;
    // The temporary folder the product sees: its name holds everything a shell would act on.
    QString m_temp;

    QString sample() const { return m_temp + "/wrenlow-microphone-test.m4a"; }
    QString playerLog() const { return m_work->filePath("player.log"); }

    // A player that notes the path it was given, then does `body`; empty `body`: no player at all.
    QString player(const QString &body) const
    {
        const QString path = m_work->filePath("player");
        if (body.isEmpty())
            return shellQuoted(path);
        writeFile(path, ("#!/bin/sh\nprintf '%s' \"$1\" > " + shellQuoted(playerLog()) + "\n" + body + "\n").toUtf8());
        setMode(path, 0700);
        return shellQuoted(path);
    }

private slots:
    void initTestCase()
    {
        // A user's start-up files must not reach the shell that runs the player.
        qputenv("ZDOTDIR", QDir::tempPath().toUtf8() + "/wrenlow-no-zdotdir");
        m_savedTemp = qgetenv("TMPDIR");
        m_savedCurrent = QDir::currentPath();
    }

    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        QVERIFY(m_work->isValid());
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
        if (m_savedTemp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_savedTemp);
        m_work.reset();
    }

    void failuresBeforePlayback_data()
    {
        QTest::addColumn<StandIns>("standIns");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("oldSampleKept");

        QTest::newRow("access refused: nothing touched")
            << StandIns{.granted = false} << "AudioDiagnosticError"
            << "Microphone access was not granted." << QStringList{} << true;
        QTest::newRow("recorder cannot be made: its own error")
            << StandIns{.recorderCannotBeMade = true} << "PlatformError"
            << "No recorder for this file." << QStringList{"create"} << false;
        QTest::newRow("recording refuses to start")
            << StandIns{.recordStarts = false} << "AudioDiagnosticError"
            << "The microphone sample could not be recorded." << QStringList{"create", "record"} << false;
        QTest::newRow("wait broken off: its own error, no stop")
            << StandIns{.waitBreaksOff = true} << "PlatformError"
            << "The wait was cancelled." << QStringList{"create", "record", "sleep 3000"} << false;
    }

    void failuresBeforePlayback()
    {
        QFETCH(StandIns, standIns);
        QFETCH(QString, type);
        QFETCH(QString, description);
        QFETCH(QStringList, events);
        QFETCH(bool, oldSampleKept);

        writeFile(sample(), "old sample");
        const auto log = std::make_shared<RunLog>();
        const AudioDiagnosticService service(standInPlatform(standIns, log, player("exit 0")));
        const test::AudioOutcome outcome = test::outcomeOf(service.recordAndPlayMicrophoneSample());

        QCOMPARE(outcome.type, type);
        QCOMPARE(outcome.description, description);
        QCOMPARE(log->events, events);
        QCOMPARE(readAll(sample()) == "old sample", oldSampleKept);
        if (!events.isEmpty())
            QVERIFY(log->oldSampleGoneAtCreation);
        QVERIFY2(!QFile::exists(playerLog()), "the player must not run");
    }

    void playback_data()
    {
        QTest::addColumn<QString>("playerBody");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("description");

        QTest::newRow("status 0 means played") << "exit 0" << 12.0 << "";
        QTest::newRow("player error") << "exit 1" << 12.0 << "The recorded sample could not be played back.";
        QTest::newRow("player runs past the limit")
            << "sleep 30" << 0.5 << "The recorded sample could not be played back.";
        QTest::newRow("no player") << "" << 12.0 << "The recorded sample could not be played back.";
    }

    void playback()
    {
        QFETCH(QString, playerBody);
        QFETCH(double, limit);
        QFETCH(QString, description);

        writeFile(sample(), "old sample");
        const auto log = std::make_shared<RunLog>();
        AudioPlatform platform = standInPlatform({}, log, player(playerBody));
        platform.playbackLimit = limit;
        const AudioDiagnosticService service(std::move(platform));
        QElapsedTimer clock;
        clock.start();
        const test::AudioOutcome outcome = test::outcomeOf(service.recordAndPlayMicrophoneSample());

        QCOMPARE(outcome.description, description);
        if (!description.isEmpty())
            QVERIFY(outcome.kind == AudioDiagnosticError::Kind::PlaybackFailed);
        QCOMPARE(log->events, (QStringList{"create", "record", "sleep 3000", "stop"}));
        QCOMPARE(log->recordedTo, sample());
        QVERIFY(log->oldSampleGoneAtCreation);
        // This run's sample stays, whether or not it could be played.
        QCOMPARE(readAll(sample()), QString("new sample"));
        if (!playerBody.isEmpty())
            QCOMPARE(readAll(playerLog()), sample());
        QVERIFY2(!QFile::exists(m_work->filePath("pwned")), "the sample's path ran as a command");
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    void accessIsAskedOnEveryRun()
    {
        const auto log = std::make_shared<RunLog>();
        const AudioDiagnosticService service(standInPlatform({}, log, player("exit 0")));
        QCOMPARE(test::outcomeOf(service.recordAndPlayMicrophoneSample()).description, QString());
        QCOMPARE(test::outcomeOf(service.recordAndPlayMicrophoneSample()).description, QString());
        QCOMPARE(log->accessAsked, 2);
        // The second run found the first run's sample and removed it before recording.
        QVERIFY(log->oldSampleGoneAtCreation);
    }

    void sampleFolder_data()
    {
        QTest::addColumn<int>("tempMode");
        QTest::addColumn<QString>("subfolder"); // what stands in the subfolder's place beforehand
        QTest::addColumn<bool>("inSubfolder");
        QTest::addColumn<bool>("refused");

        QTest::newRow("private temporary folder, used as it is") << 0700 << "" << false << false;
        QTest::newRow("temporary folder only we can write") << 0755 << "" << false << false;
        QTest::newRow("shared temporary folder: a private subfolder") << 01777 << "" << true << false;
        QTest::newRow("group-writable temporary folder") << 0770 << "" << true << false;
        QTest::newRow("our subfolder from before") << 01777 << "private" << true << false;
        QTest::newRow("subfolder others can write") << 01777 << "open" << true << true;
        QTest::newRow("subfolder is a link") << 01777 << "link" << true << true;
        QTest::newRow("a file in the subfolder's place") << 01777 << "file" << true << true;
        QTest::newRow("subfolder of another user") << 01777 << "foreign" << true << true;
    }

    void sampleFolder()
    {
        QFETCH(int, tempMode);
        QFETCH(QString, subfolder);
        QFETCH(bool, inSubfolder);
        QFETCH(bool, refused);

        setMode(m_temp, mode_t(tempMode));
        const QString sub = m_temp + "/wrenlow-" + QString::number(::getuid());
        if (subfolder == "private" || subfolder == "open" || subfolder == "foreign") {
            QVERIFY(QDir().mkdir(sub));
            setMode(sub, subfolder == "open" ? 0777 : 0700);
        } else if (subfolder == "link") {
            QVERIFY(QDir().mkdir(m_work->filePath("elsewhere")));
            QVERIFY(QFile::link(m_work->filePath("elsewhere"), sub));
        } else if (subfolder == "file") {
            writeFile(sub, "");
        }
        if (subfolder == "foreign") {
            if (::geteuid() != 0)
                QSKIP("Giving a folder to another user needs root.");
            QCOMPARE(::chown(QFile::encodeName(sub).constData(), 65534, 65534), 0);
        }

        const auto [path, error] = samplePathOrRefusal();
        if (refused) {
            QCOMPARE(error, "The folder " + sub + " for the microphone sample is not private to this user.");
            return;
        }
        QCOMPARE(error, QString());
        QCOMPARE(path, (inSubfolder ? sub : m_temp) + "/wrenlow-microphone-test.m4a");
        if (inSubfolder) {
            struct stat info
            {
            };
            QCOMPARE(::lstat(QFile::encodeName(sub).constData(), &info), 0);
            QCOMPARE(info.st_mode & 07777, mode_t(0700));
        } else {
            QVERIFY(!QFileInfo::exists(sub));
        }
    }

    void missingTemporaryFolderIsRefused()
    {
        const QString missing = m_work->filePath("gone");
        qputenv("TMPDIR", QFile::encodeName(missing));
        QCOMPARE(samplePathOrRefusal().second, "The temporary folder " + missing + " does not exist.");
    }

    void unsafeFolderStopsTheTestBeforeRecording()
    {
        setMode(m_temp, 01777);
        QVERIFY(QDir().mkdir(m_work->filePath("elsewhere")));
        QVERIFY(QFile::link(m_work->filePath("elsewhere"), m_temp + "/wrenlow-" + QString::number(::getuid())));
        const auto log = std::make_shared<RunLog>();
        const AudioDiagnosticService service(standInPlatform({}, log, player("exit 0")));
        const test::AudioOutcome outcome = test::outcomeOf(service.recordAndPlayMicrophoneSample());
        QCOMPARE(outcome.type, QString("PlatformError"));
        QCOMPARE(log->events, QStringList());
        QVERIFY(QDir(m_work->filePath("elsewhere")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMicrophoneSample)
#include "TestMicrophoneSample.moc"
