#include "common/FixedDecimal.h"

#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace wrenlow;

class TestFixedDecimal : public QObject
{
    Q_OBJECT

private slots:
    void writesAsPrintfDoes_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact tie down to even") << 12.5 << 0 << "12";
        QTest::newRow("exact tie up to even") << 13.5 << 0 << "14";
        QTest::newRow("tie in the decimals") << 0.25 << 1 << "0.2";
        QTest::newRow("just above a tie as written") << 0.05 << 1 << "0.1";
        QTest::newRow("just below a tie as written") << 0.15 << 1 << "0.1";
        QTest::newRow("carries into the whole part") << 99.96 << 1 << "100.0";
        QTest::newRow("negative zero keeps its sign") << -0.04 << 1 << "-0.0";
        QTest::newRow("tiny") << 1e-300 << 3 << "0.000";
        QTest::newRow("whole above 2^53") << 1e17 << 1 << "100000000000000000.0";
        QTest::newRow("whole above 2^64") << 1e20 << 0 << "100000000000000000000";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1 << "inf";
    }

    void writesAsPrintfDoes()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(fixedDecimal(value, decimals), expected);
    }

    void agreesWithPrintfOnRandomValues()
    {
        std::setlocale(LC_NUMERIC, "C");
        QRandomGenerator random(20261206);
        for (int i = 0; i < 200000; ++i) {
            const int decimals = int(random.bounded(4));
            // Quarters, eighths and wide magnitudes: many exact ties and every exponent range a percent can reach.
            const double value = i % 2 == 0 ? double(int(random.bounded(1 << 20)) - (1 << 19)) / 8.0
                                            : std::ldexp(random.generateDouble() - 0.5, int(random.bounded(140)) - 70);
            char expected[128];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            QCOMPARE(fixedDecimal(value, decimals), QString::fromLatin1(expected));
        }
    }
};

QTEST_GUILESS_MAIN(TestFixedDecimal)
#include "TestFixedDecimal.moc"
