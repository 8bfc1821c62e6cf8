#pragma once

// The extended arithmetic on any processor: values are kept as x87 80-bit
// patterns, and every operation is done by GNU MPFR at a 64-bit precision,
// rounding to nearest even, within the extended format's exponent range and
// with its subnormals. Every result, fault and pattern is the one the x87
// gives. Use it through core/extended.h.

#include "core/x87_bits.h"

#include <bit>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hcalc::portable {

// The same contract as the native Ext (core/extended_native.h): every
// operation checks its result and stops the calculation at the first fault.
class Ext {
public:
    constexpr Ext(int v) : m_bits(FromInteger(v)) {}
    constexpr Ext(long v) : m_bits(FromInteger(v)) {}
    constexpr Ext(long long v) : m_bits(FromInteger(v)) {}
    constexpr Ext(double v) : m_bits(FromDouble(v)) {}

    static constexpr Ext FromBits(X87Bits bits) {
        Ext e(0);
        e.m_bits = bits;
        return e;
    }
    constexpr X87Bits bits() const { return m_bits; }

    friend Ext operator+(Ext a, Ext b);
    friend Ext operator-(Ext a, Ext b);
    friend Ext operator*(Ext a, Ext b);
    friend Ext operator/(Ext a, Ext b);
    friend constexpr Ext operator-(Ext a) {
        a.m_bits.signExponent ^= 0x8000u;
        return a;
    }

    friend bool operator==(Ext a, Ext b);
    friend std::ostream& operator<<(std::ostream& out, Ext x) { return out << x.bits(); }
    friend std::partial_ordering operator<=>(Ext a, Ext b);

private:
    // Integers and doubles convert exactly: the extended format holds every
    // 64-bit integer and every double, so these only move bits.
    static constexpr X87Bits FromInteger(long long v) {
        if (v == 0) {
            return {};
        }
        const std::uint16_t sign = v < 0 ? 0x8000u : 0;
        std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        const int shift = std::countl_zero(magnitude);
        magnitude <<= shift;
        return {magnitude, static_cast<std::uint16_t>(sign | (16383 + 63 - shift))};
    }
    static constexpr X87Bits FromDouble(double v) {
        constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
        const auto bits = std::bit_cast<std::uint64_t>(v);
        const std::uint16_t sign = (bits >> 63) != 0 ? 0x8000u : 0;
        const auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        if (exponent == 0x7FF) {
            if (fraction == 0) {
                return {kIntegerBit, static_cast<std::uint16_t>(sign | 0x7FFF)};
            }
            // A NaN keeps its payload and becomes quiet, as the FPU loads it.
            return {kIntegerBit | (std::uint64_t{1} << 62) | (fraction << 11),
                    static_cast<std::uint16_t>(sign | 0x7FFF)};
        }
        if (exponent == 0) {
            if (fraction == 0) {
                return {0, sign};
            }
            // A subnormal double is a normal extended value.
            const int shift = std::countl_zero(fraction);
            return {fraction << shift, static_cast<std::uint16_t>(sign | (16383 - 1074 + 63 - shift))};
        }
        return {kIntegerBit | (fraction << 11), static_cast<std::uint16_t>(sign | (exponent - 1023 + 16383))};
    }

    X87Bits m_bits;
};

// The same conversions as the native backend's (core/extended_native.h).
Ext Sqrt(Ext x);
double StoreDouble(Ext x);
std::int64_t TruncateToInt64(Ext x);
std::optional<Ext> DecimalToExt(std::string_view digits, long long exponent);
int DecimalDigits18(Ext x, std::string& digits);

// MPFR rounds each operation as it is told: no processor mode to set.
inline void SetArithmeticMode() {}

// The nearest extended values of 3.14 and 1.732, as x87 patterns (a test reads them from their decimal texts).
inline constexpr Ext kPi314 = Ext::FromBits({0xC8F5C28F5C28F5C3u, 0x4000});
inline constexpr Ext kSqrt3_1732 = Ext::FromBits({0xDDB22D0E56041893u, 0x3FFF});

}  // namespace hcalc::portable
