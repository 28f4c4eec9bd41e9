#include "audio/SpeakerSignal.h"

#include <QTest>

#include <cmath>
#include <cstring>

using namespace wrenlow;

// The rendered sequence checked by its audible properties: length, where each segment starts and ends, which
// channels sound, how loud, and sample values worked out by hand at points where the phase is easy to follow.
class TestSpeakerSignal : public QObject
{
    Q_OBJECT

private:
    SpeakerSignal m_signal;

    static float peak(const SpeakerSignal &signal, qsizetype from, qsizetype to, bool left)
    {
        float result = 0.0f;
        for (qsizetype frame = from; frame < to; ++frame)
            result = std::max(result, std::abs(left ? signal.left(frame) : signal.right(frame)));
        return result;
    }

private slots:
    void initTestCase() { m_signal = SpeakerSignal::render(); }

    void lengthAndLayout()
    {
        QCOMPARE(SpeakerSignal::frameCount, 201600);
        const QByteArray pcm = m_signal.interleavedPcm();
        QCOMPARE(pcm.size(), 1612800);
        // Interleaved left then right: frame 134,412 sounds on the left only.
        float left = 0.0f;
        float right = 1.0f;
        std::memcpy(&left, pcm.constData() + 134412 * 8, 4);
        std::memcpy(&right, pcm.constData() + 134412 * 8 + 4, 4);
        QCOMPARE(left, m_signal.left(134412));
        QVERIFY(left > 0.19f);
        QVERIFY(right == 0.0f);
    }

    void segmentBoundaries_data()
    {
        QTest::addColumn<qsizetype>("first");
        QTest::addColumn<bool>("leftSounds");
        QTest::addColumn<bool>("rightSounds");

        QTest::newRow("segment 1 at frame 0") << qsizetype(0) << true << true;
        QTest::newRow("segment 2 at frame 67,200") << qsizetype(67200) << true << true;
        QTest::newRow("segment 3 at frame 134,400") << qsizetype(134400) << true << false;
        QTest::newRow("segment 4 at frame 168,000") << qsizetype(168000) << false << true;
    }

    void segmentBoundaries()
    {
        QFETCH(qsizetype, first);
        QFETCH(bool, leftSounds);
        QFETCH(bool, rightSounds);
        // Every segment starts at phase 0 on the channels that sound; the silent one is 0 anyway. Exactly 0:
        // QCOMPARE would let a tiny value from the neighbouring segment pass.
        QVERIFY(m_signal.left(first) == 0.0f);
        QVERIFY(m_signal.right(first) == 0.0f);
        // One frame in, the sounding channels have left zero and the silent one has not.
        QCOMPARE(m_signal.left(first + 1) != 0.0f, leftSounds);
        QCOMPARE(m_signal.right(first + 1) != 0.0f, rightSounds);
    }

    void frameBeforeEachBoundaryBelongsToThePreviousSegment()
    {
        // Segment 1's sweep, not segment 2's started a frame early (which would give about -0.0212).
        QCOMPARE(m_signal.left(67199), m_signal.right(67199));
        QVERIFY(std::abs(m_signal.left(67199) - -0.0523540f) < 1e-6f);
        // Still the broad sweep on both channels, not the left tone.
        QCOMPARE(m_signal.left(134399), m_signal.right(134399));
        QVERIFY(m_signal.right(134399) != 0.0f);
        // Still the left tone, not the right.
        QVERIFY(m_signal.right(167999) == 0.0f);
        QVERIFY(m_signal.left(167999) != 0.0f);
    }

    void channelsPerSegment()
    {
        for (qsizetype frame = 0; frame < 134400; ++frame) {
            if (m_signal.left(frame) != m_signal.right(frame))
                QFAIL(qPrintable(QStringLiteral("left and right differ at frame %1").arg(frame)));
        }
        for (qsizetype frame = 134400; frame < 168000; ++frame) {
            if (m_signal.right(frame) != 0.0f)
                QFAIL(qPrintable(QStringLiteral("right sounds in the left tone at frame %1").arg(frame)));
        }
        for (qsizetype frame = 168000; frame < SpeakerSignal::frameCount; ++frame) {
            if (m_signal.left(frame) != 0.0f)
                QFAIL(qPrintable(QStringLiteral("left sounds in the right tone at frame %1").arg(frame)));
        }
    }

    void peaksStayWithinEachAmplitude_data()
    {
        QTest::addColumn<qsizetype>("from");
        QTest::addColumn<qsizetype>("to");
        QTest::addColumn<bool>("left");
        QTest::addColumn<float>("amplitude");

        QTest::newRow("low sweep") << qsizetype(0) << qsizetype(67200) << true << 0.24f;
        QTest::newRow("broad sweep") << qsizetype(67200) << qsizetype(134400) << true << 0.18f;
        QTest::newRow("left tone") << qsizetype(134400) << qsizetype(168000) << true << 0.22f;
        QTest::newRow("right tone") << qsizetype(168000) << qsizetype(201600) << false << 0.22f;
    }

    void peaksStayWithinEachAmplitude()
    {
        QFETCH(qsizetype, from);
        QFETCH(qsizetype, to);
        QFETCH(bool, left);
        QFETCH(float, amplitude);
        const float loudest = peak(m_signal, from, to, left);
        QVERIFY2(loudest <= amplitude, qPrintable(QString::number(loudest)));
        // Nothing normalised or faded: each segment reaches its amplitude.
        QVERIFY2(loudest > 0.99f * amplitude, qPrintable(QString::number(loudest)));
    }

    // At these frames the momentary frequency times the segment's time is a simple fraction of a turn, so the
    // value follows by hand; an accumulated phase would give something else entirely.
    void samplesAtKnownPhases_data()
    {
        QTest::addColumn<qsizetype>("frame");
        QTest::addColumn<bool>("left");
        QTest::addColumn<double>("expected");

        // t = 1.0 s: f = 120 + 780/1.4, f*t = 677 + 1/7 turns.
        QTest::newRow("low sweep at 1 s") << qsizetype(48000) << true << 0.24 * std::sin(2 * M_PI / 7);
        // u = 0.0125 s: f = 950 Hz, f*u = 11.875 turns.
        QTest::newRow("broad sweep at 12.5 ms") << qsizetype(67800) << false << -0.18 * std::sin(M_PI / 4);
        // u = 1 ms: f = 904 Hz, f*u = 0.904 turns; timed from the start of the sequence it would be 0.504.
        QTest::newRow("broad sweep at 1 ms") << qsizetype(67248) << true << 0.18 * std::sin(2 * M_PI * 0.904);
        // 12 frames = 0.25 ms into the tone: 0.175 turns.
        QTest::newRow("left tone at 0.25 ms") << qsizetype(134412) << true << 0.22 * std::sin(0.35 * M_PI);
        QTest::newRow("right tone at 0.25 ms") << qsizetype(168012) << false << 0.22 * std::sin(0.35 * M_PI);
        // The last frame, t = 4.19998 s, is in segment 4: 489.985 turns of 700 Hz since 3.5 s.
        QTest::newRow("last frame") << qsizetype(201599) << false << -0.0201304;
    }

    void samplesAtKnownPhases()
    {
        QFETCH(qsizetype, frame);
        QFETCH(bool, left);
        QFETCH(double, expected);
        const float value = left ? m_signal.left(frame) : m_signal.right(frame);
        QVERIFY2(std::abs(double(value) - expected) < 1e-6,
                 qPrintable(QStringLiteral("%1 instead of %2").arg(value).arg(expected)));
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSignal)
#include "TestSpeakerSignal.moc"
