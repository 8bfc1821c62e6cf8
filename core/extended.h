#pragma once

#include <cmath>
#include <compare>
#include <limits>

namespace hcalc {

static_assert(std::numeric_limits<long double>::digits == 64,
              "formulas are evaluated in the x87 80-bit extended format (64-bit significand)");

[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseInvalidOperation();
[[noreturn]] void RaiseOverflow();

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
    constexpr Ext(long long v) : m_v(static_cast<long double>(v)) {}
    constexpr Ext(double v) : m_v(v) {}
    constexpr Ext(long double v) : m_v(v) {}

    constexpr long double value() const { return m_v; }

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
    friend Ext operator-(Ext a) { return Ext(-a.m_v); }

    friend bool operator==(Ext a, Ext b) { return a.m_v == b.m_v; }
    friend std::partial_ordering operator<=>(Ext a, Ext b) { return a.m_v <=> b.m_v; }

private:
    static Ext checked(long double r) {
        if (std::isinf(r)) [[unlikely]] {
            RaiseOverflow();
        }
        if (std::isnan(r)) [[unlikely]] {
            RaiseInvalidOperation();
        }
        return Ext(r);
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

// The value after storing it into a double and reading it back.
inline Ext Stored(Ext x) {
    return Ext(StoreDouble(x));
}

// Constants the formulas write with two decimals: the nearest extended values.
inline constexpr Ext kPi314{3.14L};        // pi, as the formulas write it
inline constexpr Ext kSqrt3_1732{1.732L};  // square root of three, as the formulas write it

}  // namespace hcalc
