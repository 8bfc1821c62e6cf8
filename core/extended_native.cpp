#include "core/extended_native.h"

#include <array>
#include <charconv>
#include <system_error>

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

std::optional<Ext> DecimalToExt(std::string_view digits, long long exponent) {
    const std::string text = std::string(digits) + 'e' + std::to_string(exponent);
    long double value = 0;
    // from_chars reads through the C library, which reports a result below
    // the normal range that is not exact as out of range, like an overflow.
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Out of range on either side: the magnitude's decimal exponent tells which.
        const long long magnitude = static_cast<long long>(digits.size()) + exponent;
        if (magnitude > 0) {
            return std::nullopt;
        }
        return Ext(0);
    }
    return Ext::FromNative(value);
}

int DecimalDigits18(Ext x, std::string& digits) {
    // "d.ddddddddddddddddde<exp>", rounded to nearest.
    std::array<char, 48> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), x.native(), std::chars_format::scientific, 17);
    digits.clear();
    const char* p = buffer.data();
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            digits.push_back(*p);
        }
    }
    int exponent10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent10);
    return exponent10;
}

}  // namespace hcalc::native
