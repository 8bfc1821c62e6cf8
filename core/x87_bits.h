#pragma once

#include <cstdint>
#include <iosfwd>

namespace hcalc {

// The 80 bits of a value in the x87 extended format: the 64-bit significand
// with its explicit integer bit, and the sign bit above the 15-bit biased
// exponent (bias 16383). Every backend of the extended arithmetic keeps and
// gives values in this format, so a result can be compared bit for bit.
struct X87Bits {
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;

    friend bool operator==(const X87Bits&, const X87Bits&) = default;
};

// Writes the pattern as "x87:SEEE:SSSSSSSSSSSSSSSS" (hexadecimal), for test messages.
std::ostream& operator<<(std::ostream& out, const X87Bits& bits);

// A calculation stops at the faulting step by throwing the fault (core/fault.h).
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseInvalidOperation();
[[noreturn]] void RaiseOverflow();

}  // namespace hcalc
