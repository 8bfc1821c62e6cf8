#pragma once

#include <cmath>

namespace hcalc::checked {

// The arithmetic of the checks, in double: a value that leaves the range of a
// double, or a division by zero, ends the check (NotComputable, caught where
// the check returns nullopt) instead of reaching a figure as infinity or NaN.
struct NotComputable {};

inline double Finite(double x) {
    if (!std::isfinite(x)) {
        throw NotComputable{};
    }
    return x;
}

// Every division of the checks goes through here: a zero divisor ends it.
inline double Quotient(double a, double b) {
    if (b == 0) {
        throw NotComputable{};
    }
    return Finite(a / b);
}

inline const double kSqrt3 = std::sqrt(3.0);

}  // namespace hcalc::checked
