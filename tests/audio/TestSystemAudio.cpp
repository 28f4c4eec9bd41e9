#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "common/ShellQuote.h"
#include "common/CommandRunner.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

// The product's real audio pieces on this machine. Build machines have no sound device: there both tests must
// end within seconds with a readable error, never hang. Where a device exists they would make sound, so they
// are skipped.
class TestSystemAudio : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp;

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        qputenv("ZDOTDIR", QFile::encodeName(m_temp.filePath("no-zdotdir")));
    }

    void withoutADeviceTestsFailFast_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::newRow("speaker") << "PlatformError: No audio output device is available.";
        QTest::newRow("microphone") << "AudioDiagnosticError: The microphone sample could not be recorded.";
    }

    void withoutADeviceTestsFailFast()
    {
        const bool speaker = QTest::currentDataTag() == QByteArray("speaker");
        if (!(speaker ? QMediaDevices::audioOutputs() : QMediaDevices::audioInputs()).isEmpty())
            QSKIP("This machine has the device: the test would make sound.");
        const AudioDiagnosticService service;
        const test::AudioOutcome outcome =
            test::outcomeOf(speaker ? service.playSpeakerSequence() : service.recordAndPlayMicrophoneSample());
        QVERIFY2(outcome.elapsedMs < 5000, qPrintable(QString::number(outcome.elapsedMs)));
        QTEST(outcome.type + ": " + outcome.description, "outcome");
    }

    // Our player, found and run the way the microphone test runs it, refuses what it cannot play, and soon: a
    // player that hung would be stopped at the limit (124).
    void samplePlayerRefuses()
    {
        const QString path = m_temp.filePath("garbage.m4a");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("this is not an MPEG-4 file\n") > 0);
        out.close();
        const CommandRunner::Result result =
            CommandRunner::run(AudioPlatform::system().samplePlayer + ' ' + shellQuoted(path), 10);
        QVERIFY2(result.status != 0 && result.status != 124 && result.status != 127, qPrintable(result.stdErr));
        if (QMediaDevices::audioOutputs().isEmpty())
            QVERIFY2(result.stdErr.endsWith("No audio output device is available."), qPrintable(result.stdErr));
    }
};

QTEST_GUILESS_MAIN(TestSystemAudio)
#include "TestSystemAudio.moc"
