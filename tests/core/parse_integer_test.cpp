#include "core/fault.h"
#include "core/numbers.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <optional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> value;
};

// clang-format off
const IntegerCase kIntegerCases[] = {
    {"5",            5},
    {" 5",           5},
    {"   -5",        -5},
    {"+7",           7},
    {"007",          7},
    {"-0",           0},
    {"0",            0},
    {"$B",           11},
    {"0x0B",         11},
    {"0X1f",         31},
    {"x1f",          31},
    {"X1F",          31},
    {"-$10",         -16},
    {"$FFFFFFFF",    -1},
    {"-$FFFFFFFF",   1},
    {"$80000000",    INT32_MIN},
    {"-$80000000",   INT32_MIN},
    {"$0000000001",  1},           // leading zeros carry no value
    {"2147483647",   INT32_MAX},
    {"-2147483648",  INT32_MIN},
    {"2147483648",   std::nullopt},
    {"-2147483649",  std::nullopt},
    {"99999999999999999999999", std::nullopt},
    {"$100000000",   std::nullopt},
    {"5 ",           std::nullopt},
    {"3.0",          std::nullopt},
    {"1e3",          std::nullopt},
    {"",             std::nullopt},
    {" ",            std::nullopt},
    {"+",            std::nullopt},
    {"-",            std::nullopt},
    {"$",            std::nullopt},
    {"0x",           std::nullopt},
    {"- 5",          std::nullopt},
    {"$-5",          std::nullopt},
    {"00x5",         std::nullopt},
    {"$G",           std::nullopt},
    {"\t5",          std::nullopt},
    {"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt},  // full-width digits
};
// clang-format on

TEST(ParseInteger, readsEveryTextOfTheTable) {
    for (const IntegerCase& c : kIntegerCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TryParseInteger(QString::fromUtf8(c.text)), c.value);
    }
}

TEST(ParseInteger, failsWithTheIntegerConversionError) {
    try {
        ParseInteger(QString());
        ADD_FAILURE() << "no fault for the empty text";
    } catch (const CalcFault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::InvalidInteger);
        EXPECT_EQ(FaultBoxText(fault.message()), u"'' is not a valid integer value."_s);
    }
}

TEST(ParseInteger, rejectsHundredThousandDigits) {
    EXPECT_EQ(TryParseInteger(QString(100000, u'9')), std::nullopt);
    EXPECT_EQ(TryParseInteger(QString(100000, u'0') + u"12"_s), 12);
}

}  // namespace
}  // namespace hcalc
