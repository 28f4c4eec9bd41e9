#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/SpeakerOutput.h"
#include "audio/SpeakerSignal.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace wrenlow;
using namespace std::chrono_literals;

namespace {

// What the stand-in output saw, kept after the service has released the output.
struct OutputLog
{
    QStringList events;
    qsizetype pcmBytes = 0;
    float leftAtOneSecond = 0.0f;
    double volume = 0.0;
};

enum class Behaviour { PlaysToEnd, RefusesToStart, BreaksOff, NeverEnds };

// Plays nothing; reports the end as told, always after `start` has returned, as a real output does.
class StandInOutput : public SpeakerOutput
{
public:
    StandInOutput(Behaviour behaviour, std::shared_ptr<OutputLog> log)
        : m_behaviour(behaviour)
        , m_log(std::move(log))
    {}

    void start(const QByteArray &pcm, double volume) override
    {
        m_log->events << "start";
        m_log->pcmBytes = pcm.size();
        m_log->volume = volume;
        std::memcpy(&m_log->leftAtOneSecond, pcm.constData() + 48000 * 8, 4);
        if (m_behaviour == Behaviour::RefusesToStart)
            throw PlatformError("The output device is busy.");
        if (m_behaviour == Behaviour::NeverEnds)
            return;
        QTimer::singleShot(20ms, this, [this] {
            m_log->events << "ended";
            emit ended(m_behaviour == Behaviour::PlaysToEnd);
        });
    }

    void stop() override { m_log->events << "stop"; }

private:
    Behaviour m_behaviour;
    std::shared_ptr<OutputLog> m_log;
};

AudioPlatform platformWith(Behaviour behaviour, const std::shared_ptr<OutputLog> &log)
{
    AudioPlatform platform;
    platform.speakerOutput = [behaviour, log] { return std::make_unique<StandInOutput>(behaviour, log); };
    platform.speakerWatchdog = 300ms;
    return platform;
}

} // namespace

Q_DECLARE_METATYPE(Behaviour)

// The speaker test's course through the output seam: what it hands the output, when it stops it, and how each
// way of ending reaches the caller.
class TestSpeakerSequence : public QObject
{
    Q_OBJECT

private slots:
    void endings_data()
    {
        QTest::addColumn<Behaviour>("behaviour");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("events");

        QTest::newRow("played to the end, then stopped") << Behaviour::PlaysToEnd << ""
                                                         << "" << QStringList{"start", "ended", "stop"};
        QTest::newRow("start failure is the output's own error, nothing stopped")
            << Behaviour::RefusesToStart << "PlatformError"
            << "The output device is busy." << QStringList{"start"};
        QTest::newRow("broken off") << Behaviour::BreaksOff << "AudioDiagnosticError"
                                    << "The recorded sample could not be played back."
                                    << QStringList{"start", "ended", "stop"};
        QTest::newRow("never ends: the watchdog stops it")
            << Behaviour::NeverEnds << "AudioDiagnosticError"
            << "The recorded sample could not be played back." << QStringList{"start", "stop"};
    }

    void endings()
    {
        QFETCH(Behaviour, behaviour);
        QFETCH(QString, type);
        QFETCH(QString, description);
        QFETCH(QStringList, events);

        const auto log = std::make_shared<OutputLog>();
        const AudioDiagnosticService service(platformWith(behaviour, log));
        QElapsedTimer clock;
        clock.start();
        const test::AudioOutcome outcome = test::outcomeOf(service.playSpeakerSequence());

        QCOMPARE(outcome.type, type);
        QCOMPARE(outcome.description, description);
        if (type == "AudioDiagnosticError")
            QVERIFY(outcome.kind == AudioDiagnosticError::Kind::PlaybackFailed);
        QCOMPARE(log->events, events);
        if (behaviour == Behaviour::NeverEnds)
            QVERIFY2(clock.elapsed() >= 250 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void theWholeSignalIsHandedOverOnceAtMixerVolume()
    {
        const auto log = std::make_shared<OutputLog>();
        const AudioDiagnosticService service(platformWith(Behaviour::PlaysToEnd, log));
        QCOMPARE(test::outcomeOf(service.playSpeakerSequence()).type, QString());

        QCOMPARE(log->pcmBytes, 201600 * 2 * 4);
        QCOMPARE(log->volume, 0.72);
        // The rendered signal, not silence: 0.24 * sin(2 pi / 7) one second in.
        QVERIFY(std::abs(log->leftAtOneSecond - 0.1876396f) < 1e-6f);
        QCOMPARE(log->events.count("start"), 1);
    }

    void productWatchdogOutlastsTheSignal()
    {
        // The signal lasts 4.2 s; a real output may take a moment to start and to play out its buffer.
        const auto watchdog = AudioPlatform{}.speakerWatchdog;
        QVERIFY(watchdog >= 8s && watchdog <= 12s);
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSequence)
#include "TestSpeakerSequence.moc"
