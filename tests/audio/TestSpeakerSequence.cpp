#include "AudioOutcome.h"

#include "audio/AudioDiagnosticService.h"
#include "audio/SpeakerOutput.h"
#include "audio/SpeakerSignal.h"

#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstring>

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
struct StandInOutput : SpeakerOutput
{
    StandInOutput(Behaviour behaviour, std::shared_ptr<OutputLog> log)
        : behaviour(behaviour)
        , log(std::move(log))
    {}
    void start(const QByteArray &pcm, double volume) override
    {
        log->events << "start";
        log->pcm = pcm;
        log->volume = volume;
        if (behaviour == Behaviour::RefusesToStart)
            throw PlatformError("The output device is busy.");
        if (behaviour != Behaviour::NeverEnds)
            QTimer::singleShot(20ms, this, [this] {
                log->events << "ended";
                emit ended(behaviour == Behaviour::PlaysToEnd);
            });
    }
    void stop() override { log->events << "stop"; }
    Behaviour behaviour;
    std::shared_ptr<OutputLog> log;
};

} // namespace

Q_DECLARE_METATYPE(Behaviour)

// The speaker test: the signal it renders, checked by what is heard (where each segment starts and ends, which
// channels sound and how loud, sample values worked out by hand where the phase is easy to follow), and its course
// through the output seam (what it hands over, when it stops the output, how each way of ending reaches the caller).
class TestSpeakerSequence : public QObject
{
    Q_OBJECT

private:
    const QByteArray m_pcm = SpeakerSignal::render().interleavedPcm();

    // Frames of two 32-bit samples, left first.
    float sample(qsizetype frame, bool left) const
    {
        float value = 0;
        std::memcpy(&value, m_pcm.constData() + frame * 8 + (left ? 0 : 4), 4);
        return value;
    }

private slots:
    void segments_data()
    {
        QTest::addColumn<qsizetype>("from");
        QTest::addColumn<qsizetype>("to");
        QTest::addColumn<bool>("leftSounds");
        QTest::addColumn<bool>("rightSounds");
        QTest::addColumn<float>("amplitude");

        QTest::newRow("low sweep, both") << qsizetype(0) << qsizetype(67200) << true << true << 0.24f;
        QTest::newRow("broad sweep, both") << qsizetype(67200) << qsizetype(134400) << true << true << 0.18f;
        QTest::newRow("tone, left only") << qsizetype(134400) << qsizetype(168000) << true << false << 0.22f;
        QTest::newRow("tone, right only") << qsizetype(168000) << qsizetype(201600) << false << true << 0.22f;
    }

    void segments()
    {
        QFETCH(qsizetype, from);
        QFETCH(qsizetype, to);
        QFETCH(bool, leftSounds);
        QFETCH(bool, rightSounds);
        QFETCH(float, amplitude);
        QCOMPARE(m_pcm.size(), 201600 * 8);
        // Each segment starts at phase 0. Exactly: QCOMPARE on floats would let a neighbour's tiny value pass.
        QVERIFY(sample(from, true) == 0.0f && sample(from, false) == 0.0f);
        qsizetype wrongFrames = 0;
        float peak = 0.0f;
        for (qsizetype frame = from; frame < to; ++frame) {
            const float left = sample(frame, true), right = sample(frame, false);
            if ((!leftSounds && left != 0.0f) || (!rightSounds && right != 0.0f) ||
                (leftSounds && rightSounds && left != right))
                ++wrongFrames;
            peak = std::max({peak, std::abs(left), std::abs(right)});
        }
        QCOMPARE(wrongFrames, 0);
        // The frames next to the boundaries belong here: they sound where this segment sounds.
        for (const qsizetype frame : {from + 1, to - 1}) {
            QCOMPARE(sample(frame, true) != 0.0f, leftSounds);
            QCOMPARE(sample(frame, false) != 0.0f, rightSounds);
        }
        // Nothing normalised or faded: the segment reaches its amplitude and stays within it.
        QVERIFY2(peak <= amplitude && peak > 0.99f * amplitude, qPrintable(QString::number(peak)));
    }

    // Where the momentary frequency times the segment's time is a simple number of turns; an accumulated phase,
    // or time counted from the start of the sequence, gives other values.
    void samplesAtKnownPhases()
    {
        // The last frame of segment 1, not the first of segment 2 (that would be about -0.0212).
        QVERIFY(std::abs(sample(67199, true) - -0.0523540) < 1e-6);
        // u = 1 ms: f = 904 Hz, 0.904 turns (0.504 if timed from the start of the sequence).
        QVERIFY(std::abs(sample(67248, true) - 0.18 * std::sin(2 * M_PI * 0.904)) < 1e-6);
        // The last frame, t = 4.19998 s, is in segment 4: 489.985 turns since 3.5 s.
        QVERIFY(std::abs(sample(201599, false) - -0.0201304) < 1e-6);
    }

    void endings_data()
    {
        QTest::addColumn<Behaviour>("behaviour");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("events");

        const QString error = "AudioDiagnosticError", failed = "The recorded sample could not be played back.";
        const QStringList stopped{"start", "ended", "stop"};
        // clang-format off
        QTest::newRow("played to the end, then stopped") << Behaviour::PlaysToEnd << QString() << QString() << stopped;
        QTest::newRow("start failure: the output's own error, nothing stopped") << Behaviour::RefusesToStart << "PlatformError" << "The output device is busy." << QStringList{"start"};
        QTest::newRow("broken off") << Behaviour::BreaksOff << error << failed << stopped;
        QTest::newRow("never ends: the watchdog stops it") << Behaviour::NeverEnds << error << failed << QStringList{"start", "stop"};
        // clang-format on
    }

    void endings()
    {
        QFETCH(Behaviour, behaviour);
        const auto log = std::make_shared<OutputLog>();
        AudioPlatform platform;
        platform.speakerOutput = [behaviour, log] { return std::make_unique<StandInOutput>(behaviour, log); };
        platform.speakerWatchdog = 300ms;
        const test::AudioOutcome outcome =
            test::outcomeOf(AudioDiagnosticService(std::move(platform)).playSpeakerSequence());
        QTEST(outcome.type, "type");
        QTEST(outcome.description, "description");
        QTEST(log->events, "events");
        // The whole rendered signal, once, at the mixer volume.
        QVERIFY(log->pcm == m_pcm);
        QCOMPARE(log->volume, 0.72);
        if (behaviour == Behaviour::NeverEnds)
            QVERIFY2(outcome.elapsedMs >= 250 && outcome.elapsedMs < 3000,
                     qPrintable(QString::number(outcome.elapsedMs)));
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSequence)
#include "TestSpeakerSequence.moc"
