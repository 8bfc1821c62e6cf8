#pragma once

// The 80-bit extended arithmetic every formula is evaluated in. Where long
// double is the x87 extended format the FPU computes it (the native backend);
// elsewhere, or when HCALC_PORTABLE_EXTENDED is set, GNU MPFR does (the
// portable backend). Both give the same bits and the same faults at the same
// steps; code outside core/ sees only the names below.

#include "core/x87_bits.h"

#if HCALC_PORTABLE_EXTENDED
#include "core/extended_portable.h"
#else
#include "core/extended_native.h"
#endif

namespace hcalc {

#if HCALC_PORTABLE_EXTENDED
namespace backend = portable;
#else
namespace backend = native;
#endif

// A value in extended precision; every operation stops the calculation at
// its first fault (division by zero, invalid operation, overflow).
using backend::Ext;

// Square root; an invalid operation for a negative value.
using backend::Sqrt;

// The value rounded to double, as it is when a calculation stores it; a
// finite value too large for a double is an overflow.
using backend::StoreDouble;

// The value after storing it into a double and reading it back.
inline Ext Stored(Ext x) {
    return Ext(StoreDouble(x));
}

// Sets this thread's mode for the arithmetic (a 64-bit significand, rounding
// to nearest): at program start, at the start of each calculation, and in a
// thread that computes for one.
using backend::SetArithmeticMode;

// Constants the formulas write with decimals: the nearest extended values of 3.14 and 1.732.
using backend::kPi314;
using backend::kSqrt3_1732;

// Which backend computes, for benchmarks and reports.
inline constexpr const char* kExtendedBackendName =
    HCALC_PORTABLE_EXTENDED ? "portable (GNU MPFR)" : "native (x87 FPU)";

}  // namespace hcalc
