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
    std::optional<long double> value;
};

// clang-format off
const RealCase kRealCases[] = {
    {"  12.5  ",        12.5L},
    {"-.5",             -0.5L},
    {"5.",              5.0L},
    {".",               0.0L},
    {"1e3",             1000.0L},
    {"2.5E-2",          0.025L},
    {"1E",              1.0L},
    {"1e+",             1.0L},
    {"1e- ",            1.0L},
    {"+5",              5.0L},
    {"007",             7.0L},
    {" 5",              5.0L},
    {"5 ",              5.0L},
    {".e5",             0.0L},
    {"0.000",           0.0L},
    {"1e0000000003",    1000.0L},     // leading exponent zeros keep it below 500
    {"1e499",           1e499L},
    {"1e500",           1e500L},      // extended range: valid text, overflows only when stored
    {"1e4932",          1e4932L},
    {"1e-400",          1e-400L},
    {"1e-4999",         0.0L},        // below the extended range: 0
    {"0.0000000000000000000000000000001e-4940", 0.0L},
    {"123456789012345678901234567890", 123456789012345678901234567890.0L},
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
        const std::optional<long double> got = TryParseReal(text, separator);
        ASSERT_EQ(got.has_value(), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(*got, *c.value);
        }
    }
}

TEST_P(ParseRealTable, takesOnlyTheRegionalSeparator) {
    const QChar separator = GetParam();
    const QChar other = separator == u'.' ? QChar(u',') : QChar(u'.');
    EXPECT_EQ(TryParseReal(u"1"_s + separator + u"5"_s, separator), 1.5L);
    EXPECT_EQ(TryParseReal(u"1"_s + other + u"5"_s, separator), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Separators, ParseRealTable, ::testing::Values(QChar(u'.'), QChar(u',')),
                         [](const auto& info) { return info.param == u'.' ? "point" : "comma"; });

TEST(ParseReal, keepsTheSignOfNegativeZero) {
    const auto value = TryParseReal(u"-0", u'.');
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, 0.0L);
    EXPECT_TRUE(std::signbit(*value));
}

TEST(ParseReal, readsVeryLongDigitStrings) {
    const QString ones(100000, u'1');
    EXPECT_EQ(TryParseReal(ones, u'.'), std::nullopt);  // about 1.1E99999: beyond the extended range
    const QString tiny = u"0."_s + QString(100000, u'0') + u"1"_s;
    EXPECT_EQ(TryParseReal(tiny, u'.'), 0.0L);
    const QString manyZeros = u"1"_s + QString(4000, u'0') + u"e-4000"_s;
    EXPECT_EQ(TryParseReal(manyZeros, u'.'), 1.0L);
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
