// The portable backend of the extended arithmetic (GNU MPFR) against the
// native one (the x87 FPU), on one machine: every operation and conversion
// over random and edge operands gives the same bits, or the same fault.

#include "core/extended_native.h"
#include "core/extended_portable.h"
#include "core/fault.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

namespace hcalc {
namespace {

// What a step gives: a value's bits, or the fault that stopped it.
using Outcome = std::variant<X87Bits, std::uint64_t, std::int64_t, int, FaultKind>;

template <class Step>
Outcome Run(Step step) {
    try {
        return step();
    } catch (const CalcFault& fault) {
        return fault.kind();
    }
}

std::string Describe(const Outcome& o) {
    char text[64];
    if (const auto* bits = std::get_if<X87Bits>(&o)) {
        std::snprintf(text, sizeof text, "x87:%04X:%016llX", static_cast<unsigned>(bits->signExponent),
                      static_cast<unsigned long long>(bits->significand));
    } else if (const auto* d = std::get_if<std::uint64_t>(&o)) {
        std::snprintf(text, sizeof text, "double:%016llX", static_cast<unsigned long long>(*d));
    } else if (const auto* i = std::get_if<std::int64_t>(&o)) {
        std::snprintf(text, sizeof text, "int64:%lld", static_cast<long long>(*i));
    } else if (const auto* c = std::get_if<int>(&o)) {
        std::snprintf(text, sizeof text, "ordering:%d", *c);
    } else {
        std::snprintf(text, sizeof text, "fault:%d", static_cast<int>(std::get<FaultKind>(o)));
    }
    return text;
}

int Order(std::partial_ordering c) {
    return c == std::partial_ordering::less ? -1 : c == std::partial_ordering::greater ? 1 : c == 0 ? 0 : 2;
}

template <class Ext>
std::vector<Outcome> AllSteps(X87Bits a, X87Bits b) {
    const Ext x = Ext::FromBits(a);
    const Ext y = Ext::FromBits(b);
    return {
        Run([&]() -> Outcome { return (x + y).bits(); }),
        Run([&]() -> Outcome { return (x - y).bits(); }),
        Run([&]() -> Outcome { return (x * y).bits(); }),
        Run([&]() -> Outcome { return (x / y).bits(); }),
        Run([&]() -> Outcome { return (-x).bits(); }),
        Run([&]() -> Outcome { return Sqrt(x).bits(); }),
        Run([&]() -> Outcome { return std::bit_cast<std::uint64_t>(StoreDouble(x)); }),
        Run([&]() -> Outcome { return TruncateToInt64(x); }),
        Run([&]() -> Outcome { return Order(x <=> y); }),
        Run([&]() -> Outcome { return static_cast<int>(x == y); }),
    };
}

void ExpectSame(X87Bits a, X87Bits b) {
    static const char* const kSteps[] = {"+", "-", "*", "/", "negate", "sqrt", "store", "truncate", "<=>", "=="};
    const std::vector<Outcome> native = AllSteps<native::Ext>(a, b);
    const std::vector<Outcome> portable = AllSteps<portable::Ext>(a, b);
    for (std::size_t i = 0; i < native.size(); ++i) {
        if (Describe(native[i]) != Describe(portable[i])) {
            ADD_FAILURE() << kSteps[i] << " of " << Describe(a) << " and " << Describe(b) << ": native "
                          << Describe(native[i]) << ", portable " << Describe(portable[i]);
        }
    }
}

X87Bits Bits(long double v) {
    return native::Ext::FromNative(v).bits();
}

// Canonical finite values whose exponents cluster where results change kind:
// ordinary magnitudes, the double range's edges, the extended range's edges
// and its subnormals; and now and then any pattern at all.
class RandomOperands {
public:
    explicit RandomOperands(std::uint64_t seed) : m_rng(seed) {}

    X87Bits next() {
        const int kind = pick(0, 9);
        std::uint64_t significand = m_rng() | (std::uint64_t{1} << 63);
        if (pick(0, 3) == 0) {
            significand &= ~((std::uint64_t{1} << pick(0, 63)) - 1);  // trailing zeros: exact results, ties
        }
        const std::uint16_t sign = pick(0, 4) == 0 ? 0x8000u : 0;
        int exponent = 16383;
        switch (kind) {
            case 0:
                return {m_rng(), static_cast<std::uint16_t>(m_rng())};  // any 80 bits
            case 1:
                exponent = pick(1, 0x7FFE);
                break;
            case 2:
                exponent = pick(1, 140);
                break;  // near the subnormals
            case 3:
                return {significand >> pick(1, 63), sign};  // a subnormal
            case 4:
                exponent = pick(0x7FFE - 70, 0x7FFE);
                break;  // near the top
            case 5:
                exponent = 16383 + 1023 + pick(-2, 2);
                break;  // near DBL_MAX
            case 6:
                exponent = 16383 - 1074 + pick(-3, 60);
                break;  // double subnormals
            case 7:
                exponent = 16383 + pick(60, 66);
                break;  // near the 64-bit integer range
            default:
                exponent = 16383 + pick(-70, 70);
                break;
        }
        return {significand, static_cast<std::uint16_t>(sign | exponent)};
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    std::mt19937_64 m_rng;
};

TEST(ExtendedBackends, agreeOnEdgeOperands) {
    const long double edges[] = {0.0L,
                                 -0.0L,
                                 1.0L,
                                 -1.0L,
                                 3.0L,
                                 0.5L,
                                 1e308L * 10,
                                 LDBL_MAX,
                                 -LDBL_MAX,
                                 LDBL_MIN,
                                 LDBL_MIN / 2,
                                 LDBL_MIN / (1ULL << 63),
                                 DBL_MAX,
                                 DBL_MAX * (1 + 0x1p-60L),
                                 DBL_MAX + 0x1p970L,
                                 DBL_MIN,
                                 DBL_MIN / 4,
                                 0x1p-1074L,
                                 0x1p-1075L,
                                 0x1.8p-1075L,
                                 0x1p63L,
                                 -0x1p63L,
                                 0x1p63L - 0.5L,
                                 -0x1p63L - 1,
                                 1e4000L,
                                 1e-4000L,
                                 __builtin_infl(),
                                 -__builtin_infl(),
                                 __builtin_nanl("")};
    for (const long double a : edges) {
        for (const long double b : edges) {
            ExpectSame(Bits(a), Bits(b));
        }
    }
}

TEST(ExtendedBackends, agreeOnRandomOperands) {
    RandomOperands operands(20260611);
    for (int i = 0; i < 100000; ++i) {
        ExpectSame(operands.next(), operands.next());
        if (HasFailure()) {
            return;
        }
    }
}

TEST(ExtendedBackends, agreeOnConstantsAndConversions) {
    EXPECT_EQ(native::kPi314.bits(), portable::kPi314.bits());
    EXPECT_EQ(native::kSqrt3_1732.bits(), portable::kSqrt3_1732.bits());
    std::mt19937_64 rng(7);
    const double doubles[] = {0.0,
                              -0.0,
                              1.0,
                              DBL_MAX,
                              DBL_MIN,
                              0x1p-1074,
                              -0x1.8p-1060,
                              __builtin_inf(),
                              __builtin_nan(""),
                              -__builtin_nan("5"),
                              __builtin_nans("")};
    for (const double d : doubles) {
        EXPECT_EQ(native::Ext(d).bits(), portable::Ext(d).bits()) << d;
    }
    for (int i = 0; i < 10000; ++i) {
        const double d = std::bit_cast<double>(rng());
        ASSERT_EQ(native::Ext(d).bits(), portable::Ext(d).bits()) << d;
        const auto n = static_cast<long long>(rng()) >> (rng() % 64);
        ASSERT_EQ(native::Ext(n).bits(), portable::Ext(n).bits()) << n;
    }
}

// The exact digits and decimal exponent of (2 * significand + 1) * 2^(exponent2 - 1): the point halfway between two
// neighbouring 64-bit values, written out by MPFR (such a point has at most 11,516 significant digits). Every step is
// exact and stays within the extended range, where the portable backend keeps MPFR's exponent range.
std::pair<std::string, long long> Halfway(std::uint64_t significand, long exponent2) {
    static_assert(sizeof(unsigned long) == sizeof significand);
    mpfr_t x;
    mpfr_init2(x, 66);
    mpfr_set_ui_2exp(x, significand, 1, MPFR_RNDN);
    mpfr_add_ui(x, x, 1, MPFR_RNDN);
    mpfr_mul_2si(x, x, exponent2 - 1, MPFR_RNDN);
    std::vector<char> text(11600 + 2);
    mpfr_exp_t exponent10 = 0;
    mpfr_get_str(text.data(), &exponent10, 10, 11600, x, MPFR_RNDN);
    mpfr_clear(x);
    std::string digits(text.data());
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, exponent10 - static_cast<long long>(digits.size())};
}

// Reading: the value of a digit string and an exponent, rounded to nearest
// extended, 0 below the normal range unless exact, none beyond the range.
TEST(ExtendedBackends, readTheSameValueFromDecimalDigits) {
    std::mt19937_64 rng(11);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<std::pair<std::string, long long>> texts;
    for (int i = 0; i < 20000; ++i) {
        std::string digits(1, static_cast<char>('1' + pick(0, 8)));
        const int more = pick(0, 3) == 0 ? pick(0, 60) : pick(0, 20);
        for (int k = 0; k < more; ++k) {
            digits += static_cast<char>('0' + (pick(0, 2) == 0 ? pick(0, 9) : pick(0, 1) * 9));
        }
        const int around[] = {0, -4951, -4932, 4932, -308, 308, -324};
        const long long exponent = around[pick(0, 6)] + pick(-25, 25) - static_cast<long long>(digits.size());
        texts.emplace_back(digits, exponent);
    }
    // Exact decimal expansions of subnormal and smallest normal values.
    for (const long double v : {LDBL_MIN, LDBL_MIN / 2, LDBL_MIN * 0.75L, 0x1p-16445L, 0x1.8p-16440L}) {
        std::vector<char> text(20000);
        std::snprintf(text.data(), text.size(), "%.12000Le", v);
        std::string digits;
        const char* p = text.data();
        for (; *p != 'e'; ++p) {
            if (*p != '.') {
                digits += *p;
            }
        }
        while (digits.back() == '0') {
            digits.pop_back();
        }
        const long long exponent = std::atoll(p + 1) - static_cast<long long>(digits.size()) + 1;
        texts.emplace_back(digits, exponent);
        digits.back() = static_cast<char>(digits.back() + 1);  // no longer exact
        texts.emplace_back(digits, exponent);
    }
    // Ties between neighbouring 64-bit values of random binades and of the range's ends, and texts a far digit
    // above and below them: the most digits that can decide a reading.
    for (int i = 0; i < 300; ++i) {
        const int field = i < 4 ? 1 + i : i < 8 ? 0x7FFE - (i - 4) : pick(1, 0x7FFE);
        const std::uint64_t significand = rng() | (std::uint64_t{1} << 63);
        const auto [digits, exponent] = Halfway(significand, field - 16383 - 63);
        texts.emplace_back(digits, exponent);
        const int far = pick(1, 13000);
        texts.emplace_back(digits + std::string(far - 1, '0') + '1', exponent - far);
        std::string below = digits;
        --below.back();  // the last digit is not 0
        texts.emplace_back(below + std::string(far, '9'), exponent - far);
    }
    for (const auto& [digits, exponent] : texts) {
        const std::optional<native::Ext> n = native::DecimalToExt(digits, exponent);
        const std::optional<portable::Ext> p = portable::DecimalToExt(digits, exponent);
        ASSERT_EQ(n.has_value(), p.has_value()) << digits.substr(0, 40) << "e" << exponent;
        if (n) {
            ASSERT_EQ(n->bits(), p->bits()) << digits.substr(0, 40) << "e" << exponent;
        }
    }
}

// Showing: the first 18 digits of positive normal values, ties included.
TEST(ExtendedBackends, showTheSameDigits) {
    RandomOperands operands(13);
    std::vector<X87Bits> values;
    for (int i = 0; i < 20000; ++i) {
        X87Bits b = operands.next();
        b.signExponent &= 0x7FFF;
        const unsigned field = b.signExponent;
        if (field != 0 && field != 0x7FFF && (b.significand >> 63) != 0) {
            values.push_back(b);
        }
    }
    std::mt19937_64 rng(17);
    for (int i = 0; i < 2000; ++i) {
        // 19-digit integers ending in 5: a tie at the 18th digit.
        const auto k = static_cast<long long>(rng() % 800000000000000000ULL) + 100000000000000000LL;
        values.push_back(native::Ext(k * 10 + 5).bits());
    }
    for (const X87Bits& b : values) {
        std::string n;
        std::string p;
        const int ne = native::DecimalDigits18(native::Ext::FromBits(b), n);
        const int pe = portable::DecimalDigits18(portable::Ext::FromBits(b), p);
        ASSERT_EQ(n + "e" + std::to_string(ne), p + "e" + std::to_string(pe)) << b;
    }
}

}  // namespace
}  // namespace hcalc
