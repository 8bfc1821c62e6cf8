#include "core/fault.h"
#include "core/numbers.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

struct FormatCase {
    long double value;
    const char* shown;  // "." stands for the decimal separator under test
};

// clang-format off
const FormatCase kFormatCases[] = {
    {1.0L / 3,                   "0.333333333333333"},
    {2.0L / 3,                   "0.666666666666667"},
    {1.0 / 3,                    "0.333333333333333"},   // a double shown through extended
    {4,                          "4"},
    {-2.5L,                      "-2.5"},
    {0.00012L,                   "0.00012"},
    {0.0001L,                    "0.0001"},
    {0.00001L,                   "1E-5"},
    {0.000015L,                  "1.5E-5"},
    {-0.000015L,                 "-1.5E-5"},
    {123456789012345.0L,         "123456789012345"},
    {1e15L,                      "1E15"},
    {1234567890123456789.0L,     "1.23456789012346E18"},
    {999999999999999.9L,         "1E15"},
    {0.00009999999999999999L,    "0.0001"},              // the carry raises the exponent into fixed notation
    {0.1,                        "0.1"},
    {0.3,                        "0.3"},
    {100,                        "100"},
    {10,                         "10"},
    {1e14L,                      "100000000000000"},
    {126.5625L,                  "126.5625"},
    {-42.1316,                   "-42.1316"},
    {1e16L,                      "1E16"},
    {12345678901234567.0L,       "1.23456789012346E16"},
    {1e500L,                     "1E500"},
    {1e-400L,                    "1E-400"},
    {0.12345678901234549999L,    "0.123456789012346"},   // 18 digits end ...45500: half up on the 16th
    {0.0,                        "0"},
    {-0.0,                       "0"},
    {LDBL_MIN / 4,               "0"},                   // not a normal extended number
    {DBL_MAX,                    "1.79769313486232E308"},
    {std::numeric_limits<long double>::infinity(),  "INF"},
    {-std::numeric_limits<long double>::infinity(), "-INF"},
    {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
};
// clang-format on

class FormatRealTable : public ::testing::TestWithParam<QChar> {};

TEST_P(FormatRealTable, showsEveryValueOfTheTable) {
    const QChar separator = GetParam();
    for (const FormatCase& c : kFormatCases) {
        QString expected = QString::fromUtf8(c.shown);
        expected.replace(u'.', separator);
        EXPECT_EQ(FormatReal(c.value, separator), expected) << "expected " << c.shown;
    }
}

TEST_P(FormatRealTable, aShownNumberReadBackShowsTheSame) {
    const QChar separator = GetParam();
    for (const FormatCase& c : kFormatCases) {
        if (!std::isfinite(c.value)) {
            continue;
        }
        const QString shown = FormatReal(c.value, separator);
        const auto back = TryParseReal(shown, separator);
        ASSERT_TRUE(back.has_value()) << shown.toStdString();
        EXPECT_EQ(FormatReal(*back, separator), shown);
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatRealTable, ::testing::Values(QChar(u'.'), QChar(u',')),
                         [](const auto& info) { return info.param == u'.' ? "point" : "comma"; });

// 80-bit patterns the FPU never produces from arithmetic, judged by their bits.
TEST(FormatReal, showsNonCanonicalPatternsAsSpecialTexts) {
    struct Pattern {
        std::uint64_t significand;
        std::uint16_t signAndExponent;
        const char* shown;
    };
    // clang-format off
    const Pattern patterns[] = {
        {0x8E00000000000000u, 0x0000, "0"},    // pseudo-denormal: exponent field 0, integer bit set
        {0x0000000000000001u, 0x0000, "0"},    // smallest denormal
        {0x4000000000000000u, 0x3FFF, "NAN"},  // unnormal: integer bit clear
        {0x0000000000000000u, 0x7FFF, "NAN"},  // pseudo-infinity
        {0x8000000000000000u, 0xFFFF, "-INF"},
        {0xC000000000000000u, 0x7FFF, "NAN"},
        {0x8000000000000000u, 0x3FFF, "1"},
        {0x8000000000000000u, 0x0001, "3.36210314311209E-4932"},  // smallest normal
    };
    // clang-format on
    for (const Pattern& p : patterns) {
        long double value = 0;
        std::memcpy(&value, &p.significand, 8);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &p.signAndExponent, 2);
        EXPECT_EQ(FormatReal(value, u'.'), QString::fromUtf8(p.shown)) << p.shown;
    }
}

TEST(FormatReal, neverShowsMoreThanFifteenDigitsNorTrailingZeros) {
    long double x = 1.0e-30L;
    for (int i = 0; i < 3000; ++i) {
        x = x * 1.0731L + 1e-31L * i;
        const QString shown = FormatReal(x, u'.');
        const QString mantissa = shown.section(u'E', 0, 0);
        QString digits = mantissa;
        digits.remove(u'.').remove(u'-');
        while (digits.startsWith(u'0')) {
            digits.remove(0, 1);
        }
        EXPECT_LE(digits.size(), 15) << shown.toStdString();
        if (mantissa.contains(u'.')) {
            EXPECT_FALSE(mantissa.endsWith(u'0')) << shown.toStdString();
        }
        EXPECT_FALSE(shown.contains(u',')) << shown.toStdString();
    }
}

struct TruncateCase {
    long double value;
    std::optional<std::int64_t> whole;
};

// clang-format off
const TruncateCase kTruncateCases[] = {
    {2.9L,                       2},
    {-2.9L,                      -2},
    {42.1316L,                   42},
    {-12.7L,                     -12},
    {0.0L,                       0},
    {-0.5L,                      0},
    {9223372036854775807.0L,     INT64_MAX},
    {-9223372036854775808.0L,    INT64_MIN},
    {9223372036854775807.5L,     INT64_MAX},
    {9223372036854775808.0L,     std::nullopt},
    {-9223372036854775809.0L,    std::nullopt},
    {1e19L,                      std::nullopt},
    {-1e300L,                    std::nullopt},
};
// clang-format on

TEST(TruncateReal, truncatesTowardZeroWithinSixtyFourBits) {
    for (const TruncateCase& c : kTruncateCases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        if (c.whole) {
            EXPECT_EQ(TruncateReal(c.value), *c.whole);
        } else {
            try {
                TruncateReal(c.value);
                ADD_FAILURE() << "no fault";
            } catch (const CalcFault& fault) {
                EXPECT_EQ(fault.kind(), FaultKind::InvalidOperation);
            }
        }
    }
}

TEST(FormatWhole, writesPlainDigits) {
    EXPECT_EQ(FormatWhole(42), u"42"_s);
    EXPECT_EQ(FormatWhole(-12), u"-12"_s);
    EXPECT_EQ(FormatWhole(0), u"0"_s);
    EXPECT_EQ(FormatWhole(INT64_MIN), u"-9223372036854775808"_s);
    EXPECT_EQ(FormatWhole(1234567), u"1234567"_s);
}

}  // namespace
}  // namespace hcalc
