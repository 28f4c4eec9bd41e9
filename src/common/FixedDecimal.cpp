#include "common/FixedDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wrenlow {

QString fixedDecimal(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 3);
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("nan") : value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");

    // |value| = mantissa * 2^shift exactly, the mantissa a whole number below 2^53.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = uint64_t(std::ldexp(fraction, 53));
    const int shift = exponent - 53;
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;

    QString digits;
    if (shift >= 0) {
        // A whole number: no rounding. Beyond 64 bits only hostile input goes, where Qt's own exact digits do.
        if (shift < 11)
            digits = QString::number(mantissa << shift) + QString(decimals, u'0');
        else
            digits = QString::number(std::fabs(value), 'f', decimals).remove(u'.');
    } else {
        // value * 10^decimals = mantissa * scale / 2^-shift, below 2^63; round the quotient, ties to even.
        const uint64_t scaled = mantissa * scale;
        const int bits = -shift;
        uint64_t quotient = 0;
        if (bits < 64) {
            quotient = scaled >> bits;
            const uint64_t remainder = scaled & ((uint64_t(1) << bits) - 1);
            const uint64_t half = uint64_t(1) << (bits - 1);
            if (remainder > half || (remainder == half && (quotient & 1) != 0))
                ++quotient;
        } // else below 2^63 / 2^64: rounds to zero
        digits = QString::number(quotient).rightJustified(decimals + 1, u'0');
    }
    if (decimals > 0)
        digits.insert(digits.size() - decimals, u'.');
    return std::signbit(value) ? u'-' + digits : digits;
}

} // namespace wrenlow
