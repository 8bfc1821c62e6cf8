#pragma once

// The extended arithmetic on a processor whose long double is the x87 80-bit
// format (x86 and x86-64 with GCC or Clang): every operation is one FPU
// instruction. Use it through core/extended.h.

#include "core/x87_bits.h"

#include <cmath>
#include <compare>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace hcalc::native {

static_assert(std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384,
              "the native backend needs long double in the x87 80-bit extended format");

// A value in 80-bit extended precision whose every operation checks its
// result and stops the calculation at the first fault: division of a non-zero
// value by zero, an invalid operation (0/0, square root of a negative value)
// or an overflow of the extended range. Values held by a calculation are
// always finite, so a non-finite result can only come from the operation that
// produced it. Operators evaluate left to right as written: a * b * c is
// (a * b) * c, each step rounded to extended.
class Ext {
public:
    constexpr Ext(int v) : m_v(v) {}
    constexpr Ext(long v) : m_v(static_cast<long double>(v)) {}
    constexpr Ext(long long v) : m_v(static_cast<long double>(v)) {}
    constexpr Ext(double v) : m_v(v) {}

    static Ext FromBits(X87Bits bits) {
        long double v = 0;
        std::memcpy(&v, &bits.significand, sizeof bits.significand);
        std::memcpy(reinterpret_cast<char*>(&v) + sizeof bits.significand, &bits.signExponent,
                    sizeof bits.signExponent);
        return FromNative(v);
    }
    X87Bits bits() const {
        X87Bits bits;
        std::memcpy(&bits.significand, &m_v, sizeof bits.significand);
        std::memcpy(&bits.signExponent, reinterpret_cast<const char*>(&m_v) + sizeof bits.significand,
                    sizeof bits.signExponent);
        return bits;
    }

    // This backend's own representation, for its conversions.
    static constexpr Ext FromNative(long double v) {
        Ext e(0);
        e.m_v = v;
        return e;
    }
    constexpr long double native() const { return m_v; }

    friend Ext operator+(Ext a, Ext b) { return checked(a.m_v + b.m_v); }
    friend Ext operator-(Ext a, Ext b) { return checked(a.m_v - b.m_v); }
    friend Ext operator*(Ext a, Ext b) { return checked(a.m_v * b.m_v); }
    friend Ext operator/(Ext a, Ext b) {
        if (b.m_v == 0) {
            if (a.m_v == 0) {
                RaiseInvalidOperation();  // 0/0
            }
            RaiseDivisionByZero();
        }
        return checked(a.m_v / b.m_v);
    }
    friend constexpr Ext operator-(Ext a) { return FromNative(-a.m_v); }

    friend bool operator==(Ext a, Ext b) { return a.m_v == b.m_v; }
    friend std::ostream& operator<<(std::ostream& out, Ext x) { return out << x.bits(); }
    friend std::partial_ordering operator<=>(Ext a, Ext b) { return a.m_v <=> b.m_v; }

private:
    static Ext checked(long double r) {
        if (std::isinf(r)) [[unlikely]] {
            RaiseOverflow();
        }
        if (std::isnan(r)) [[unlikely]] {
            RaiseInvalidOperation();
        }
        return FromNative(r);
    }

    long double m_v;
};

// Square root; an invalid operation for a negative value.
Ext Sqrt(Ext x);

// The value rounded to double, as it is when a calculation stores it. A
// finite extended value that becomes infinite as a double overflowed. (The
// test is on the values, not on the FPU flags: GCC may move the conversion
// past a flag test.)
double StoreDouble(Ext x);

// Truncation toward zero to a 64-bit integer; an invalid operation outside
// the 64-bit range.
std::int64_t TruncateToInt64(Ext x);

// digits * 10^exponent (digits: decimal digits, the first not 0), rounded to
// nearest extended. A value below the normal range that is not exact as a
// subnormal reads as 0; nullopt when it overflows the extended range.
// (DecimalToX87, core/x87_decimal.h.)
std::optional<Ext> DecimalToExt(std::string_view digits, long long exponent);

// The first 18 significant decimal digits of a positive normal value, rounded
// to nearest; gives the decimal exponent of the first digit.
// (X87DecimalDigits18, core/x87_decimal.h.)
int DecimalDigits18(Ext x, std::string& digits);

// Sets the FPU's mode for the arithmetic on this thread: a 64-bit significand,
// rounding to nearest, every exception masked (each operation tests its own
// result). The mode belongs to a thread, and it does not stay put on every
// system: a thread of 64-bit Windows starts with a 53-bit significand, and
// some Windows printer drivers change it. So a calculation, and a thread that
// computes for one, sets it as it starts.
inline void SetArithmeticMode() {
    std::uint16_t control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    // Bits 0-5: exception masks; 8-9: precision (11: 64 bits); 10-11: rounding (00: to nearest).
    const auto mode = static_cast<std::uint16_t>((control & ~0x0F3Fu) | 0x033Fu);
    if (mode != control) {
        __asm__ volatile("fldcw %0" : : "m"(mode));
    }
}

// Constants the formulas write with two or three decimals: the nearest extended values.
inline constexpr Ext kPi314 = Ext::FromNative(3.14L);        // pi, as the formulas write it
inline constexpr Ext kSqrt3_1732 = Ext::FromNative(1.732L);  // square root of three, as the formulas write it

}  // namespace hcalc::native
