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
    // printf in the C locale is the reference: exact ties both ways, ties as written, a carry into the whole part,
    // negative zero, magnitudes past 2^53 and 2^64, infinity; then random quarters, eighths and wide magnitudes,
    // which hold many exact ties and every exponent range a percent can reach.
    void agreesWithPrintf()
    {
        std::setlocale(LC_NUMERIC, "C");
        QList<double> values{
            12.5, 13.5, 0.25, 0.05, 0.15, 99.96, -0.04, 1e-300, 1e17, 1e20, std::numeric_limits<double>::infinity()};
        QRandomGenerator random(20261206);
        for (int i = 0; i < 100000; ++i)
            values << (i % 2 == 0 ? double(int(random.bounded(1 << 20)) - (1 << 19)) / 8.0
                                  : std::ldexp(random.generateDouble() - 0.5, int(random.bounded(140)) - 70));
        for (const double value : values) {
            for (int decimals = 0; decimals < 4; ++decimals) {
                char expected[128];
                std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
                QCOMPARE(fixedDecimal(value, decimals), QString::fromLatin1(expected));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFixedDecimal)
#include "TestFixedDecimal.moc"
