#include "core/extended_native.h"

#include "core/x87_decimal.h"

namespace hcalc::native {

Ext Sqrt(Ext x) {
    if (x < 0) {
        RaiseInvalidOperation();
    }
    return Ext::FromNative(std::sqrt(x.native()));
}

double StoreDouble(Ext x) {
    const double d = static_cast<double>(x.native());
    if (std::isinf(d) && std::isfinite(x.native())) {
        RaiseOverflow();
    }
    return d;
}

std::int64_t TruncateToInt64(Ext x) {
    const long double t = std::trunc(x.native());
    // The 64-bit range is [-2^63, 2^63); both bounds are exact in extended precision.
    constexpr long double kLowest = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    if (!(t >= kLowest && t < -kLowest)) {
        RaiseInvalidOperation();
    }
    return static_cast<std::int64_t>(t);
}

// The program's own conversions (core/x87_decimal.h), not the C library's:
// every platform then reads and shows the same digits, whatever its C library
// and its locale.
std::optional<Ext> DecimalToExt(std::string_view digits, long long exponent) {
    const std::optional<X87Bits> bits = DecimalToX87(digits, exponent);
    if (!bits) {
        return std::nullopt;
    }
    return Ext::FromBits(*bits);
}

int DecimalDigits18(Ext x, std::string& digits) {
    return X87DecimalDigits18(x.bits(), digits);
}

}  // namespace hcalc::native
