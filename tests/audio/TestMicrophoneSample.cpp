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

// Logs what it is asked to do; completes its file with "new sample" when stopped.
class StandInRecorder : public SampleRecorder
{
public:
    StandInRecorder(QString file, bool starts, QStringList *events)
        : m_file(std::move(file))
        , m_starts(starts)
        , m_events(events)
    {}

    bool record() override
    {
        *m_events << "record";
        return m_starts;
    }

    QCoro::Task<> stop() override
    {
        *m_events << "stop";
        writeFile(m_file, "new sample");
        co_return;
    }

private:
    QString m_file;
    bool m_starts;
    QStringList *m_events;
};

// How the stand-ins behave, and what they saw.
struct Rig
{
    bool granted = true;
    bool recorderCannotBeMade = false;
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
            if (recorderCannotBeMade)
                throw PlatformError("No recorder for this file.");
            return std::make_unique<StandInRecorder>(file, recordStarts, &events);
        };
        platform.sleep = [this](std::chrono::milliseconds duration) -> QCoro::Task<> {
            events << QStringLiteral("sleep %1").arg(duration.count());
            co_return;
        };
        return platform;
    }
};

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void setMode(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

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

    QString sample() const { return m_temp + "/wrenlow-microphone-test.m4a"; }

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
        QTest::addColumn<QString>("playerBody");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("events");

        const QStringList whole{"create", "record", "sleep 3000", "stop"};
        const QString notPlayed = "The recorded sample could not be played back.";
        QTest::newRow("access refused: nothing touched")
            << Rig{.granted = false} << "exit 0" << 12.0 << "AudioDiagnosticError"
            << "Microphone access was not granted." << QStringList{};
        QTest::newRow("recording refuses to start")
            << Rig{.recordStarts = false} << "exit 0" << 12.0 << "AudioDiagnosticError"
            << "The microphone sample could not be recorded." << QStringList{"create", "record"};
        QTest::newRow("status 0 means played") << Rig{} << "exit 0" << 12.0 << QString() << QString() << whole;
        QTest::newRow("player error") << Rig{} << "exit 1" << 12.0 << "AudioDiagnosticError" << notPlayed << whole;
        QTest::newRow("player past the limit")
            << Rig{} << "sleep 30" << 0.5 << "AudioDiagnosticError" << notPlayed << whole;
    }

    void course()
    {
        QFETCH(Rig, rig);
        QFETCH(QString, playerBody);
        QFETCH(double, limit);
        QFETCH(QString, type);
        QFETCH(QString, description);
        QFETCH(QStringList, events);

        // The player notes the path it was given, then does what the row says.
        const QString player = m_work->filePath("player");
        const QString playerLog = m_work->filePath("player.log");
        writeFile(player,
                  ("#!/bin/sh\nprintf '%s' \"$1\" > " + shellQuoted(playerLog) + "\n" + playerBody + "\n").toUtf8());
        setMode(player, 0700);
        writeFile(sample(), "old sample");
        AudioPlatform platform = rig.platform();
        platform.samplePlayer = shellQuoted(player);
        platform.playbackLimit = limit;
        const AudioDiagnosticService service(std::move(platform));
        const test::AudioOutcome outcome = test::outcomeOf(service.recordAndPlayMicrophoneSample());

        QCOMPARE(outcome.type, type);
        QCOMPARE(outcome.description, description);
        QCOMPARE(rig.events, events);
        QVERIFY2(outcome.elapsedMs < 5000, qPrintable(QString::number(outcome.elapsedMs)));
        if (events.isEmpty())
            QCOMPARE(readAll(sample()), QString("old sample"));
        else
            QVERIFY2(rig.oldSampleGoneAtCreation, "the old sample must be gone before recording");
        // This run's sample stays after playback, whether or not it could be played.
        const bool recorded = events.contains("stop");
        QCOMPARE(readAll(sample()) == "new sample", recorded);
        QCOMPARE(readAll(playerLog), recorded ? sample() : QString());
        QVERIFY2(!QFile::exists(m_work->filePath("pwned")), "the sample's path ran as a command");
    }

    void sampleFolder_data()
    {
        QTest::addColumn<QString>("subfolder"); // what stands in the subfolder's place beforehand
        QTest::addColumn<int>("tempMode");      // 0: the temporary folder does not exist
        QTest::addColumn<QString>("expected");

        QTest::newRow("private temporary folder, used as it is") << "" << 0700 << "temp";
        QTest::newRow("shared temporary folder: private subfolder") << "" << 01777 << "subfolder";
        QTest::newRow("our subfolder from before") << "private" << 01777 << "subfolder";
        QTest::newRow("subfolder others can write") << "open" << 01777 << "not private";
        QTest::newRow("subfolder is a link") << "link" << 01777 << "not private";
        QTest::newRow("subfolder of another user") << "foreign" << 01777 << "not private";
        QTest::newRow("temporary folder missing") << "" << 0 << "missing";
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
        if (subfolder == "private" || subfolder == "open" || subfolder == "foreign") {
            QVERIFY(QDir().mkdir(sub));
            setMode(sub, subfolder == "open" ? 0777 : 0700);
        } else if (subfolder == "link") {
            QVERIFY(QDir().mkdir(m_work->filePath("elsewhere")));
            QVERIFY(QFile::link(m_work->filePath("elsewhere"), sub));
        }
        if (subfolder == "foreign")
            QCOMPARE(::chown(QFile::encodeName(sub).constData(), 65534, 65534), 0);

        QString result;
        try {
            result = microphoneSamplePath();
        } catch (const PlatformError &refusal) {
            result = refusal.description();
        }
        const QString name = "/wrenlow-microphone-test.m4a";
        if (expected == "temp") {
            QCOMPARE(result, m_temp + name);
            QVERIFY(!QFileInfo::exists(sub));
        } else if (expected == "subfolder") {
            QCOMPARE(result, sub + name);
            struct stat info = {};
            QVERIFY(::lstat(QFile::encodeName(sub).constData(), &info) == 0 && (info.st_mode & 07777) == 0700);
        } else if (expected == "not private") {
            QCOMPARE(result, "The folder " + sub + " for the microphone sample is not private to this user.");
        } else {
            QCOMPARE(result, "The temporary folder " + m_temp + " does not exist.");
        }
    }
};

QTEST_GUILESS_MAIN(TestMicrophoneSample)
#include "TestMicrophoneSample.moc"
