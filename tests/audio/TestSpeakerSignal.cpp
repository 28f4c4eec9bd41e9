#include "audio/SpeakerSignal.h"

#include <QTest>

#include <cmath>
#include <cstring>

using namespace wrenlow;

// The rendered sequence checked by what is heard: length, where each segment starts and ends, which channels
// sound and how loud, and sample values worked out by hand where the phase is easy to follow.
class TestSpeakerSignal : public QObject
{
    Q_OBJECT

private:
    const SpeakerSignal m_signal = SpeakerSignal::render();

private slots:
    void lengthAndLayout()
    {
        // 201,600 frames of two 32-bit samples, left first: frame 134,412 sounds on the left only.
        const QByteArray pcm = m_signal.interleavedPcm();
        QCOMPARE(pcm.size(), 1612800);
        float frame[2];
        std::memcpy(frame, pcm.constData() + 134412 * 8, 8);
        QVERIFY(frame[0] == m_signal.left(134412) && frame[0] > 0.19f && frame[1] == 0.0f);
    }

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

        // Each segment starts at phase 0. Exactly: QCOMPARE on floats would let a neighbour's tiny value pass.
        QVERIFY(m_signal.left(from) == 0.0f && m_signal.right(from) == 0.0f);
        qsizetype wrongFrames = 0;
        float peak = 0.0f;
        for (qsizetype frame = from; frame < to; ++frame) {
            const float left = m_signal.left(frame);
            const float right = m_signal.right(frame);
            if ((!leftSounds && left != 0.0f) || (!rightSounds && right != 0.0f) ||
                (leftSounds && rightSounds && left != right))
                ++wrongFrames;
            peak = std::max({peak, std::abs(left), std::abs(right)});
        }
        QCOMPARE(wrongFrames, 0);
        // The frames next to the boundaries belong here: they sound where this segment sounds.
        for (const qsizetype frame : {from + 1, to - 1}) {
            QCOMPARE(m_signal.left(frame) != 0.0f, leftSounds);
            QCOMPARE(m_signal.right(frame) != 0.0f, rightSounds);
        }
        // Nothing normalised or faded: the segment reaches its amplitude and stays within it.
        QVERIFY2(peak <= amplitude && peak > 0.99f * amplitude, qPrintable(QString::number(peak)));
    }

    // Where the momentary frequency times the segment's time is a simple number of turns; an accumulated phase,
    // or time counted from the start of the sequence, gives other values.
    void samplesAtKnownPhases_data()
    {
        QTest::addColumn<qsizetype>("frame");
        QTest::addColumn<bool>("left");
        QTest::addColumn<double>("expected");

        // The last frame of segment 1, not the first of segment 2 (that would be about -0.0212).
        QTest::newRow("frame 67,199") << qsizetype(67199) << true << -0.0523540;
        // u = 1 ms: f = 904 Hz, 0.904 turns (0.504 if timed from the start of the sequence).
        QTest::newRow("broad sweep at 1 ms") << qsizetype(67248) << true << 0.18 * std::sin(2 * M_PI * 0.904);
        // The last frame, t = 4.19998 s, is in segment 4: 489.985 turns since 3.5 s.
        QTest::newRow("last frame") << qsizetype(201599) << false << -0.0201304;
    }

    void samplesAtKnownPhases()
    {
        QFETCH(qsizetype, frame);
        QFETCH(bool, left);
        QFETCH(double, expected);
        const double value = left ? m_signal.left(frame) : m_signal.right(frame);
        QVERIFY2(std::abs(value - expected) < 1e-6, qPrintable(QString::number(value)));
    }
};

QTEST_GUILESS_MAIN(TestSpeakerSignal)
#include "TestSpeakerSignal.moc"
