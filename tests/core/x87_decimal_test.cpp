// Reading and showing where it is hardest: ties between neighbouring 64-bit
// values, the edges of the extended range, subnormals, 100,000-digit texts and
// ties at the 18th digit. The expected patterns were worked out apart from this
// code, with exact rational arithmetic, and hold on every platform: for the
// backend the program is built with, and for the native backend's own
// conversions (core/x87_decimal.h) wherever they are built.

#include "core/extended.h"
#if HCALC_TEST_X87_DECIMAL
#include "core/x87_decimal.h"
#endif

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace hcalc {
namespace {

// The decimal digits of m * base^power (m: decimal digits; base 2 or 5, power >= 0) by long multiplication in
// base 10^9.
std::string DigitsOf(const std::string& m, std::uint64_t base, int power) {
    std::vector<std::uint64_t> limbs;  // least significant first
    for (std::size_t end = m.size(); end > 0; end -= std::min<std::size_t>(end, 9)) {
        const std::size_t begin = end - std::min<std::size_t>(end, 9);
        limbs.push_back(std::stoull(m.substr(begin, end - begin)));
    }
    for (; power > 0; power -= 12) {
        std::uint64_t factor = 1;  // at most 5^12, so that a limb times it stays below 2^64
        for (int i = 0; i < std::min(power, 12); ++i) {
            factor *= base;
        }
        std::uint64_t carry = 0;
        for (std::uint64_t& limb : limbs) {
            const std::uint64_t v = limb * factor + carry;
            limb = v % 1000000000;
            carry = v / 1000000000;
        }
        for (; carry != 0; carry /= 1000000000) {
            limbs.push_back(carry % 1000000000);
        }
    }
    std::string digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        const std::string part = std::to_string(limbs[i]);
        digits += std::string(9 - part.size(), '0') + part;
    }
    return digits;
}

// A text written as m * base^power exactly, or just above or below that value
// with as many digits in all as `length`: its digits followed by zeros and a
// final 1, or its digits less one in the last place followed by nines.
enum class Near { Exactly, Above, Below };

struct ReadCase {
    const char* m;
    int base;  // 10: the text m * 10^power as it stands; 2: m * 2^power, written out exactly
    int power;
    Near near;
    std::size_t length;
    std::optional<X87Bits> value;
    const char* what;
};

constexpr std::size_t kLong = 100000;
constexpr X87Bits kLargest{0xFFFFFFFFFFFFFFFFu, 0x7FFE};
constexpr X87Bits kSmallestNormal{0x8000000000000000u, 0x0001};
constexpr X87Bits kZero{0, 0};

// clang-format off
const ReadCase kReadCases[] = {
    {"18446744073709551617",  2, 0,      Near::Exactly, 0,     X87Bits{0x8000000000000000u, 0x403F}, "2^64 + 1: a tie, to even (down)"},
    {"18446744073709551619",  2, 0,      Near::Exactly, 0,     X87Bits{0x8000000000000002u, 0x403F}, "2^64 + 3: a tie, to even (up)"},
    {"18446744073709551617",  2, -64,    Near::Exactly, 0,     X87Bits{0x8000000000000000u, 0x3FFF}, "1 + 2^-64: a tie, to even (down)"},
    {"18446744073709551617",  2, -64,    Near::Below,   105,   X87Bits{0x8000000000000000u, 0x3FFF}, "just below 1 + 2^-64"},
    {"18446744073709551617",  2, -64,    Near::Above,   kLong, X87Bits{0x8000000000000001u, 0x3FFF}, "above 1 + 2^-64 by its 100,000th digit"},
    {"18446744073709551619",  2, -64,    Near::Exactly, 0,     X87Bits{0x8000000000000002u, 0x3FFF}, "1 + 3 * 2^-64: a tie, to even (up)"},
    {"18446744073709551619",  2, -64,    Near::Below,   kLong, X87Bits{0x8000000000000001u, 0x3FFF}, "below 1 + 3 * 2^-64 by its 100,000th digit"},
    {"1",                     10, 500,   Near::Exactly, 0,     X87Bits{0xF9B2FF649B8695D7u, 0x467B}, "1e500: beyond a double, valid in extended"},
    {"1",                     10, 4000,  Near::Exactly, 0,     X87Bits{0xD1BA8323FE558C61u, 0x73E6}, "1e4000"},
    {"1",                     10, 4932,  Near::Exactly, 0,     X87Bits{0xD72CB2A95C7EF6CDu, 0x7FFE}, "1e4932"},
    {"18446744073709551615",  2, 16320,  Near::Exactly, 0,     kLargest,                             "the largest value, all its 4933 digits"},
    {"36893488147419103231",  2, 16319,  Near::Below,   4973,  kLargest,                             "just below halfway from it to 2^16384"},
    {"36893488147419103231",  2, 16319,  Near::Exactly, 0,     std::nullopt,                         "halfway to 2^16384: to even, beyond the range"},
    {"118973149535723176505", 10, 4912,  Near::Exactly, 0,     kLargest,                             "the largest value to 21 digits"},
    {"118973149535723176506", 10, 4912,  Near::Exactly, 0,     std::nullopt,                         "the first 21-digit text beyond the range"},
    {"1",                     10, 4933,  Near::Exactly, 0,     std::nullopt,                         "1e4933"},
    {"1",                     2, -16382, Near::Exactly, 0,     kSmallestNormal,                      "the smallest normal value, 2^-16382"},
    {"1",                     2, -16382, Near::Below,   11491, kSmallestNormal,                      "just below it: 64 bits round up to it"},
    {"36893488147419103231",  2, -16447, Near::Exactly, 0,     kSmallestNormal,                      "halfway below 2^-16382: to even, normal"},
    {"36893488147419103231",  2, -16447, Near::Below,   11556, kZero,                                "just below that: below the normal range, inexact"},
    {"3362103143112093506172", 10, -4953, Near::Exactly, 0,    kSmallestNormal,                      "22 digits, just above that point"},
    {"3362103143112093506171", 10, -4953, Near::Exactly, 0,    kZero,                                "22 digits, just below that point"},
    {"9223372036854775807",   2, -16445, Near::Exactly, 0,     X87Bits{0x7FFFFFFFFFFFFFFFu, 0x0000}, "the largest subnormal"},
    {"3",                     2, -16445, Near::Exactly, 0,     X87Bits{3, 0x0000},                   "three times the smallest subnormal"},
    {"1",                     2, -16445, Near::Exactly, 0,     X87Bits{1, 0x0000},                   "the smallest subnormal, 2^-16445"},
    {"1",                     2, -16445, Near::Above,   11535, kZero,                                "just above it: not exact"},
    {"36451995318824746025",  10, -4970, Near::Exactly, 0,     kZero,                                "the smallest subnormal to 20 digits: not exact"},
    {"1",                     2, -16446, Near::Exactly, 0,     kZero,                                "half of it: exact in 64 bits, not as a subnormal"},
};
// clang-format on

// The digits and the decimal exponent of a case's text.
std::pair<std::string, long long> TextOf(const ReadCase& c) {
    std::string digits = c.m;
    long long exponent = c.power;
    if (c.base == 2) {
        digits = c.power >= 0 ? DigitsOf(c.m, 2, c.power) : DigitsOf(c.m, 5, -c.power);
        exponent = c.power >= 0 ? 0 : c.power;
    }
    if (c.near == Near::Exactly) {
        return {digits, exponent};
    }
    const std::size_t padding = c.length - digits.size();
    if (c.near == Near::Above) {
        digits += std::string(padding - 1, '0') + '1';
    } else {
        std::size_t i = digits.size() - 1;
        for (; digits[i] == '0'; --i) {
            digits[i] = '9';
        }
        --digits[i];
        digits += std::string(padding, '9');
    }
    return {digits, exponent - static_cast<long long>(padding)};
}

TEST(DecimalConversion, readsTheHardCases) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.what);
        const auto [digits, exponent] = TextOf(c);
        if (c.near != Near::Exactly) {
            ASSERT_EQ(digits.size(), c.length);
        }
#if HCALC_TEST_X87_DECIMAL
        EXPECT_EQ(DecimalToX87(digits, exponent), c.value);
#endif
        const std::optional<Ext> read = backend::DecimalToExt(digits, exponent);
        ASSERT_EQ(read.has_value(), c.value.has_value());
        if (read) {
            EXPECT_EQ(read->bits(), *c.value);
        }
    }
}

TEST(DecimalConversion, showsEighteenDigitsRoundedToEven) {
    struct Case {
        X87Bits value;
        const char* digits;
        int exponent;
        const char* what;
    };
    // clang-format off
    const Case cases[] = {
        {{0x891087A3EF4BD098u, 0x403B}, "123456789012345500", 18,    "1234567890123454995: a tie, to even (up)"},
        {{0x891087A3EF4BD048u, 0x403B}, "123456789012345498", 18,    "1234567890123454985: a tie, to even (down)"},
        {{0xB1A2BC2EC5000040u, 0x4037}, "100000000000000000", 17,    "100000000000000000.5"},
        {{0xB1A2BC2EC50000C0u, 0x4037}, "100000000000000002", 17,    "100000000000000001.5"},
        {{0x8E1BC9BF04000100u, 0x4034}, "100000000000000002", 16,    "10000000000000000.25"},
        {{0xDE0B6B3A76400000u, 0x403A}, "100000000000000000", 18,    "10^18"},
        {{0xDE0B6B3A763FFFFCu, 0x403A}, "100000000000000000", 18,    "999999999999999999.75: up into the next decade"},
        {{0xDE0B6B3A763FFFF4u, 0x403A}, "999999999999999999", 17,    "999999999999999999.25"},
        {{0x8000000000000000u, 0x3FFF}, "100000000000000000", 0,     "1"},
        {kLargest,                      "118973149535723177", 4932,  "the largest value"},
        {kSmallestNormal,               "336210314311209351", -4932, "the smallest normal value"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string digits;
#if HCALC_TEST_X87_DECIMAL
        EXPECT_EQ(X87DecimalDigits18(c.value, digits), c.exponent);
        EXPECT_EQ(digits, c.digits);
#endif
        EXPECT_EQ(backend::DecimalDigits18(Ext::FromBits(c.value), digits), c.exponent);
        EXPECT_EQ(digits, c.digits);
    }
}

}  // namespace
}  // namespace hcalc
