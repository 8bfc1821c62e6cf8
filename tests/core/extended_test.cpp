#include "core/extended.h"
#include "core/fault.h"
#include "core/numbers.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <optional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

std::optional<FaultKind> FaultOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const CalcFault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

TEST(Ext, stopsAtEachKindOfFault) {
    struct Case {
        const char* what;
        std::function<void()> step;
        std::optional<FaultKind> fault;
    };
    const Ext zero = 0;
    const Ext max = Ext::FromBits({0xFFFFFFFFFFFFFFFFu, 0x7FFE});   // the largest extended value, about 1.19E4932
    const Ext tiny = Ext::FromBits({0x8000000000000000u, 0x0001});  // the smallest normal one, about 3.36E-4932
    const Ext huge = max / 1e300 / 1e300 / 1e300;                   // about 1E4032
    // clang-format off
    const Case cases[] = {
        {"1 / 0",               [&] { (void)(Ext(1) / zero); },          FaultKind::DivisionByZero},
        {"-1 / -0",             [&] { (void)(Ext(-1) / Ext(-0.0)); },   FaultKind::DivisionByZero},
        {"0 / 0",               [&] { (void)(zero / zero); },            FaultKind::InvalidOperation},
        {"sqrt(-1)",            [&] { (void)Sqrt(Ext(-1)); },            FaultKind::InvalidOperation},
        {"1e4000 * 1e4000",     [&] { (void)(huge * huge); },            FaultKind::Overflow},
        {"max + max",           [&] { (void)(max + max); },              FaultKind::Overflow},
        {"-max - max",          [&] { (void)(-max - max); },             FaultKind::Overflow},
        {"1e4032 / 3.4e-4932",  [&] { (void)(huge / tiny); },            FaultKind::Overflow},
        {"store 1e309",         [&] { (void)StoreDouble(Ext(1e308) * 10); }, FaultKind::Overflow},
        {"store -1e309",        [&] { (void)StoreDouble(Ext(-1e308) * 10); }, FaultKind::Overflow},
        {"1e308 * 10 in extended", [&] { (void)(Ext(1e308) * 10); },     std::nullopt},
        {"store DBL_MAX",       [&] { (void)StoreDouble(Ext(DBL_MAX)); }, std::nullopt},
        {"store 1e-320",        [&] { (void)StoreDouble(Ext(1e-320)); }, std::nullopt},  // subnormal: no fault
        {"store 1e-400",        [&] { (void)StoreDouble(Ext(1e-200) * 1e-200); }, std::nullopt},  // underflow: no fault
        {"tiny * tiny",         [&] { (void)(tiny * tiny); },            std::nullopt},
        {"sqrt(-0)",            [&] { (void)Sqrt(Ext(-0.0)); },          std::nullopt},
        {"0 / 5",               [&] { (void)(zero / 5); },               std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(FaultOf(c.step), c.fault) << c.what;
    }
}

TEST(Ext, evaluatesWithASixtyFourBitSignificand) {
    // 1 + 2^-60 - 1 survives in extended precision and vanishes in double.
    EXPECT_EQ(Ext(1) + 0x1p-60 - 1, 0x1p-60);
    // The product of two doubles beyond the double range is still exact
    // enough to come back into it.
    EXPECT_EQ(StoreDouble(Ext(1e308) * 10 / 10), 1e308);
}

TEST(Ext, storingRoundsToDouble) {
    const Ext third = Ext(1) / 3;
    EXPECT_NE(third, 1.0 / 3);
    EXPECT_EQ(StoreDouble(third), 1.0 / 3);
    EXPECT_EQ(Stored(third), 1.0 / 3);
    // Just above DBL_MAX but rounding down to it is not an overflow.
    EXPECT_EQ(StoreDouble(Ext(DBL_MAX) * (Ext(1) + 0x1p-60)), DBL_MAX);
    // Below the normal double range: rounded once, to the nearest subnormal, ties to even.
    EXPECT_EQ(StoreDouble(Ext(0x1p-1074) * 1.5), 0x1p-1073);
    EXPECT_EQ(StoreDouble(Ext(0x1p-1074) * 2.5), 0x1p-1073);
    EXPECT_EQ(StoreDouble(Ext(0x1p-1074) / 2), 0.0);
}

TEST(Ext, constantsAreTheNearestExtendedValues) {
    EXPECT_EQ(kPi314.bits(), ParseReal(u"3.14"_s, u'.').bits());
    EXPECT_NE(kPi314, 3.14);
    EXPECT_EQ(kSqrt3_1732.bits(), ParseReal(u"1.732"_s, u'.').bits());
}

TEST(Ext, keepsTheBitsOfSubnormalResults) {
    const Ext tiny = Ext::FromBits({0x8000000000000000u, 0x0001});  // 2^-16382, the smallest normal
    EXPECT_EQ((tiny / 4).bits(), (X87Bits{0x2000000000000000u, 0x0000}));
    EXPECT_EQ((tiny * 0x1p-63).bits(), (X87Bits{1, 0x0000}));  // the smallest subnormal
    EXPECT_EQ((tiny * 0x1p-64).bits(), (X87Bits{0, 0x0000}));  // half of it: to even, 0
    EXPECT_EQ((tiny * 0x1.8p-64).bits(), (X87Bits{1, 0x0000}));
    EXPECT_EQ((-tiny * 0x1p-65).bits(), (X87Bits{0, 0x8000}));  // keeps its sign
}

}  // namespace
}  // namespace hcalc
