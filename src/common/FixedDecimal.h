#pragma once

#include <QString>

namespace wrenlow {

// A number with 0 to 3 decimals exactly as printf's "%.Nf" writes it in the C locale, whatever the process locale:
// a point, the binary value rounded with exact ties to even, a minus on negative zero. Floating-point
// std::to_chars would do it, but macOS has it only from 13.3 on.
QString fixedDecimal(double value, int decimals);

} // namespace wrenlow
