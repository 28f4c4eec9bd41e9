#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/SpeakerOutput.h"
#include "audio/SpeakerSignal.h"

#include <QTest>
#include <QTimer>

using namespace wrenlow;
using namespace std::chrono_literals;

namespace {

enum class Behaviour { PlaysToEnd, RefusesToStart, BreaksOff, NeverEnds };

// What the stand-in output was given and asked to do; outlives the output, which the service releases.
struct OutputLog
{
    QStringList events;
    QByteArray pcm;
    double volume = 0.0;
};

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
        m_log->pcm = pcm;
        m_log->volume = volume;
        if (m_behaviour == Behaviour::RefusesToStart)
            throw PlatformError("The output device is busy.");
        if (m_behaviour != Behaviour::NeverEnds)
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

} // namespace

Q_DECLARE_METATYPE(Behaviour)

// The speaker test's course through the output seam: what it hands over, when it stops the output, and how each
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

        const QString failed = "The recorded sample could not be played back.";
        QTest::newRow("played to the end, then stopped")
            << Behaviour::PlaysToEnd << QString() << QString() << QStringList{"start", "ended", "stop"};
        QTest::newRow("start failure: the output's own error, nothing stopped")
            << Behaviour::RefusesToStart << "PlatformError"
            << "The output device is busy." << QStringList{"start"};
        QTest::newRow("broken off") << Behaviour::BreaksOff << "AudioDiagnosticError" << failed
                                    << QStringList{"start", "ended", "stop"};
        QTest::newRow("never ends: the watchdog stops it")
            << Behaviour::NeverEnds << "AudioDiagnosticError" << failed << QStringList{"start", "stop"};
    }

    void endings()
    {
        QFETCH(Behaviour, behaviour);
        QFETCH(QString, type);
        QFETCH(QString, description);
        QFETCH(QStringList, events);

        const auto log = std::make_shared<OutputLog>();
        AudioPlatform platform;
        platform.speakerOutput = [behaviour, log] { return std::make_unique<StandInOutput>(behaviour, log); };
        platform.speakerWatchdog = 300ms;
        const AudioDiagnosticService service(std::move(platform));
        const test::AudioOutcome outcome = test::outcomeOf(service.playSpeakerSequence());

        QCOMPARE(outcome.type, type);
        QCOMPARE(outcome.description, description);
        QCOMPARE(log->events, events);
        // The whole rendered signal (its frames are checked on their own), once, at the mixer volume.
        QVERIFY(log->pcm == SpeakerSignal::render().interleavedPcm());
        QCOMPARE(log->volume, 0.72);
        if (behaviour == Behaviour::NeverEnds)
            QVERIFY2(outcome.elapsedMs >= 250 && outcome.elapsedMs < 3000,
                     qPrintable(QString::number(outcome.elapsedMs)));
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSequence)
#include "TestSpeakerSequence.moc"
