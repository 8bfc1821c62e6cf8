#include "core/fault.h"
#include "core/numbers.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

struct FormatCase {
    Ext value;
    const char* shown;  // "." stands for the decimal separator under test
};

// Values that decimal literals would give as the nearest extended values are
// written as quotients of exact numbers, which round once to the same value.
// clang-format off
const FormatCase kFormatCases[] = {
    {Ext(1) / 3,                          "0.333333333333333"},
    {Ext(2) / 3,                          "0.666666666666667"},
    {1.0 / 3,                             "0.333333333333333"},   // a double shown through extended
    {4,                                   "4"},
    {-2.5,                                "-2.5"},
    {Ext(12) / 100000,                    "0.00012"},
    {Ext(1) / 10000,                      "0.0001"},
    {Ext(1) / 100000,                     "1E-5"},
    {Ext(15) / 1000000,                   "1.5E-5"},
    {Ext(-15) / 1000000,                  "-1.5E-5"},
    {123456789012345.0,                   "123456789012345"},
    {1e15,                                "1E15"},
    {1234567890123456789LL,               "1.23456789012346E18"},
    {Ext(9999999999999999LL) / 10,        "1E15"},
    {Ext(9999999999999999LL) / 1e20,      "0.0001"},              // the carry raises the exponent into fixed notation
    {0.1,                                 "0.1"},
    {0.3,                                 "0.3"},
    {100,                                 "100"},
    {10,                                  "10"},
    {1e14,                                "100000000000000"},
    {126.5625,                            "126.5625"},
    {-42.1316,                            "-42.1316"},
    {1e16,                                "1E16"},
    {12345678901234567LL,                 "1.23456789012346E16"},
    {Ext(1e250) * 1e250,                  "1E500"},
    {Ext(1e-200) * 1e-200,                "1E-400"},
    {Ext(1234567890123454999LL) / 1e19,   "0.123456789012346"},   // 18 digits end ...45500: half up on the 16th
    {1234567890123454995LL,               "1.23456789012346E18"}, // a tie at the 18th digit, ...454995, goes up to ...45500
    {0.0,                                 "0"},
    {-0.0,                                "0"},
    {Ext::FromBits({0x2000000000000000u, 0x0000}), "0"},          // a quarter of the smallest normal: subnormal
    {DBL_MAX,                             "1.79769313486232E308"},
    {std::numeric_limits<double>::infinity(),  "INF"},
    {-std::numeric_limits<double>::infinity(), "-INF"},
    {std::numeric_limits<double>::quiet_NaN(), "NAN"},
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
        const QString shown = FormatReal(c.value, separator);
        if (shown.endsWith(u"INF"_s) || shown == u"NAN"_s) {
            continue;
        }
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
        EXPECT_EQ(FormatReal(Ext::FromBits({p.significand, p.signAndExponent}), u'.'), QString::fromUtf8(p.shown))
            << p.shown;
    }
}

TEST(FormatReal, neverShowsMoreThanFifteenDigitsNorTrailingZeros) {
    Ext x = 1.0e-30;
    for (int i = 0; i < 3000; ++i) {
        x = x * 1.0731 + Ext(1e-31) * i;
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
    Ext value;
    std::optional<std::int64_t> whole;
};

// clang-format off
const TruncateCase kTruncateCases[] = {
    {Ext(29) / 10,                2},
    {Ext(-29) / 10,               -2},
    {42.1316,                     42},
    {-12.7,                       -12},
    {0.0,                         0},
    {-0.5,                        0},
    {INT64_MAX,                   INT64_MAX},
    {INT64_MIN,                   INT64_MIN},
    {Ext(INT64_MAX) + 0.5,        INT64_MAX},       // 2^63 - 0.5, exact in extended
    {Ext(INT64_MIN) - 0.5,        INT64_MIN},
    {Ext(INT64_MAX) + 1,          std::nullopt},    // 2^63
    {Ext(INT64_MIN) - 1,          std::nullopt},
    {1e19,                        std::nullopt},
    {-1e300,                      std::nullopt},
    {std::numeric_limits<double>::infinity(),  std::nullopt},
    {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
};
// clang-format on

TEST(TruncateReal, truncatesTowardZeroWithinSixtyFourBits) {
    for (const TruncateCase& c : kTruncateCases) {
        SCOPED_TRACE(FormatReal(c.value, u'.').toStdString());
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
