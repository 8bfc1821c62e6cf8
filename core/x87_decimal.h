#pragma once

// Exact conversions between decimal numbers and the x87 80-bit extended
// format, in integer arithmetic only: the program's own reading and showing of
// numbers, the same on every platform whatever its long double and C library.

#include "core/x87_bits.h"

#include <optional>
#include <string>
#include <string_view>

namespace hcalc {

// digits * 10^exponent (digits: decimal digits; leading zeros are ignored),
// rounded to nearest extended, ties to even. Rounded to 64 bits, a value at or
// beyond 2^16384 overflows the extended range: nullopt. Rounded to 64 bits,
// a value below the normal range (2^-16382) is kept when it is exact as a
// subnormal and reads as 0 otherwise, as the C library reads it. The result is
// positive; no digits read as 0.
std::optional<X87Bits> DecimalToX87(std::string_view digits, long long exponent);

// The first 18 significant decimal digits of a positive normal value, rounded
// to nearest with ties to even on the exact binary value; gives the decimal
// exponent of the first digit. The sign bit is ignored.
int X87DecimalDigits18(X87Bits value, std::string& digits);

}  // namespace hcalc
