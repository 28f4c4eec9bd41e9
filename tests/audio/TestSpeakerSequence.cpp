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

// Plays nothing; reports the end as told, always after `start` has returned, as a real output does. Logs what it
// is given and asked to do into a list that outlives it, as the service releases it.
struct StandInOutput : SpeakerOutput
{
    StandInOutput(Behaviour behaviour, QStringList &events)
        : behaviour(behaviour)
        , events(events)
    {}
    void start(const QByteArray &pcm, double volume) override
    {
        events << QString("start %1 at %2").arg(qHash(pcm)).arg(volume);
        if (behaviour == Behaviour::RefusesToStart)
            throw PlatformError("The output device is busy.");
        if (behaviour != Behaviour::NeverEnds)
            QTimer::singleShot(20ms, this, [this] {
                events << "ended";
                emit ended(behaviour == Behaviour::PlaysToEnd);
            });
    }
    void stop() override { events << "stop"; }
    Behaviour behaviour;
    QStringList &events;
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
    // Each segment as heard: what sounds at its first frame (nothing: it starts at phase 0, compared exactly, as a
    // fuzzy compare would let a neighbour's tiny value pass), next to its boundaries (those frames belong to it) and
    // anywhere in it ("!" where both channels sound unlike), and the peak: its amplitude, nothing normalised or faded.
    void segments()
    {
        QCOMPARE(m_pcm.size(), 201600 * 8);
        const auto sounding = [this](qsizetype frame) {
            const float left = sample(frame, true), right = sample(frame, false);
            return QString(left != 0.0f ? "L" : "") + (right != 0.0f ? "R" : "") +
                   (left != 0.0f && right != 0.0f && left != right ? "!" : "");
        };
        QStringList heard;
        const qsizetype bounds[] = {0, 67200, 134400, 168000, 201600};
        for (int segment = 0; segment < 4; ++segment) {
            const qsizetype from = bounds[segment], to = bounds[segment + 1];
            QString anywhere;
            float peak = 0.0f;
            for (qsizetype frame = from; frame < to; ++frame) {
                for (const QChar c : sounding(frame))
                    anywhere += anywhere.contains(c) ? QString() : QString(c);
                peak = std::max({peak, std::abs(sample(frame, true)), std::abs(sample(frame, false))});
            }
            heard << QString("[%1] %2..%3 %4 %5")
                         .arg(sounding(from), sounding(from + 1), sounding(to - 1), anywhere,
                              QString::number(peak, 'f', 2));
        }
        QCOMPARE(heard, (QStringList{"[] LR..LR LR 0.24", "[] LR..LR LR 0.18", "[] L..L L 0.22", "[] R..R R 0.22"}));
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
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("events");
        const QString failed = "AudioDiagnosticError: The recorded sample could not be played back.";
        // The whole rendered signal, once, at the mixer volume.
        const QString start = QString("start %1 at 0.72").arg(qHash(m_pcm));
        // clang-format off
        QTest::newRow("played to the end, then stopped") << Behaviour::PlaysToEnd << ": " << QStringList{start, "ended", "stop"};
        QTest::newRow("start failure: the output's own error, nothing stopped") << Behaviour::RefusesToStart << "PlatformError: The output device is busy." << QStringList{start};
        QTest::newRow("broken off") << Behaviour::BreaksOff << failed << QStringList{start, "ended", "stop"};
        QTest::newRow("never ends: the watchdog stops it") << Behaviour::NeverEnds << failed << QStringList{start, "stop"};
        // clang-format on
    }

    void endings()
    {
        QFETCH(Behaviour, behaviour);
        QStringList events;
        AudioPlatform platform;
        platform.speakerOutput = [behaviour, &events] { return std::make_unique<StandInOutput>(behaviour, events); };
        platform.speakerWatchdog = 300ms;
        const test::AudioOutcome outcome =
            test::outcomeOf(AudioDiagnosticService(std::move(platform)).playSpeakerSequence());
        QTEST(outcome.type + ": " + outcome.description, "outcome");
        QTEST(events, "events");
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSequence)
#include "TestSpeakerSequence.moc"
