#include "core/fault.h"
#include "core/numbers.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

struct RealCase {
    const char* text;  // "." stands for the decimal separator under test
    std::optional<Ext> value;
};

// Values beyond a double's digits as x87 patterns: the nearest extended values.
// clang-format off
const RealCase kRealCases[] = {
    {"  12.5  ",        12.5},
    {"-.5",             -0.5},
    {"5.",              5.0},
    {".",               0.0},
    {"1e3",             1000.0},
    {"2.5E-2",          Ext(25) / 1000},
    {"1E",              1.0},
    {"1e+",             1.0},
    {"1e- ",            1.0},
    {"+5",              5.0},
    {"007",             7.0},
    {" 5",              5.0},
    {"5 ",              5.0},
    {".e5",             0.0},
    {"0.000",           0.0},
    {"1e0000000003",    1000.0},     // leading exponent zeros keep it below 500
    {"1e499",           Ext::FromBits({0xC7C265EA160544ACu, 0x4678})},
    {"1e500",           Ext::FromBits({0xF9B2FF649B8695D7u, 0x467B})},  // extended range: valid text, overflows only when stored
    {"1e0500",          Ext::FromBits({0xF9B2FF649B8695D7u, 0x467B})},
    {"1e4000",          Ext::FromBits({0xD1BA8323FE558C61u, 0x73E6})},
    {"1e4932",          Ext::FromBits({0xD72CB2A95C7EF6CDu, 0x7FFE})},
    {"1e-400",          Ext::FromBits({0x95FE7E07C91EFAFAu, 0x3ACE})},
    {"1e-4999",         0.0},        // below the extended range: 0
    {"0.0000000000000000000000000000001e-4940", 0.0},
    {"1e-4940",         0.0},        // below the normal range and not exact there: 0
    {"123456789012345678901234567890", Ext::FromBits({0xC77487FB61B9F077u, 0x405F})},
    {"1 000",           std::nullopt},
    {"--5",             std::nullopt},
    {"+",               std::nullopt},
    {"-",               std::nullopt},
    {"",                std::nullopt},
    {"   ",             std::nullopt},
    {"0x10",            std::nullopt},
    {"e5",              std::nullopt},
    {"\t5",             std::nullopt},
    {"5\t",             std::nullopt},
    {"1e5000",          std::nullopt},  // the fourth exponent digit is left over
    {"1e-5000",         std::nullopt},
    {"1e4999",          std::nullopt},  // beyond the extended range
    {"1.2e4932",        std::nullopt},
    {"1.5.5",           std::nullopt},
    {"1e5e5",           std::nullopt},
    {"1e 5",            std::nullopt},
    {"nan",             std::nullopt},
    {"inf",             std::nullopt},
    {"5a",              std::nullopt},
    {"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt},  // full-width digits
    {"\xE2\x88\x92" "5", std::nullopt},           // U+2212 minus sign
};
// clang-format on

QString WithSeparator(const char* text, QChar separator) {
    QString s = QString::fromUtf8(text);
    s.replace(u'.', separator);
    return s;
}

class ParseRealTable : public ::testing::TestWithParam<QChar> {};

TEST_P(ParseRealTable, readsEveryTextOfTheTable) {
    const QChar separator = GetParam();
    for (const RealCase& c : kRealCases) {
        const QString text = WithSeparator(c.text, separator);
        SCOPED_TRACE(text.toStdString());
        const std::optional<Ext> got = TryParseReal(text, separator);
        ASSERT_EQ(got.has_value(), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(got->bits(), c.value->bits());
        }
    }
}

TEST_P(ParseRealTable, takesOnlyTheRegionalSeparator) {
    const QChar separator = GetParam();
    const QChar other = separator == u'.' ? QChar(u',') : QChar(u'.');
    EXPECT_EQ(TryParseReal(u"1"_s + separator + u"5"_s, separator), 1.5);
    EXPECT_EQ(TryParseReal(u"1"_s + other + u"5"_s, separator), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Separators, ParseRealTable, ::testing::Values(QChar(u'.'), QChar(u',')),
                         [](const auto& info) { return info.param == u'.' ? "point" : "comma"; });

TEST(ParseReal, keepsTheSignOfNegativeZero) {
    const auto value = TryParseReal(u"-0", u'.');
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->bits(), (X87Bits{0, 0x8000}));
}

TEST(ParseReal, readsVeryLongDigitStrings) {
    const QString ones(100000, u'1');
    EXPECT_EQ(TryParseReal(ones, u'.'), std::nullopt);  // about 1.1E99999: beyond the extended range
    const QString tiny = u"0."_s + QString(100000, u'0') + u"1"_s;
    EXPECT_EQ(TryParseReal(tiny, u'.'), 0.0);
    const QString manyZeros = u"1"_s + QString(4000, u'0') + u"e-4000"_s;
    EXPECT_EQ(TryParseReal(manyZeros, u'.'), 1.0);
}

TEST(ParseReal, failsWithTheConversionErrorQuotingTheText) {
    for (const char* text : {"", "   ", "abc", "1,5", "1 000"}) {
        const QString t = QString::fromUtf8(text);
        try {
            ParseReal(t, u'.');
            ADD_FAILURE() << "no fault for '" << text << "'";
        } catch (const CalcFault& fault) {
            EXPECT_EQ(fault.kind(), FaultKind::InvalidReal);
            EXPECT_EQ(fault.message(), u"'"_s + t + u"' is not a valid floating point value"_s);
        }
    }
}

}  // namespace
}  // namespace hcalc
