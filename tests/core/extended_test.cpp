#include "core/extended.h"
#include "core/fault.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <optional>

namespace hcalc {
namespace {

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
    const Ext huge = 1e4000L;
    // clang-format off
    const Case cases[] = {
        {"1 / 0",               [&] { (void)(Ext(1) / zero); },          FaultKind::DivisionByZero},
        {"-1 / -0",             [&] { (void)(Ext(-1) / Ext(-0.0)); },   FaultKind::DivisionByZero},
        {"0 / 0",               [&] { (void)(zero / zero); },            FaultKind::InvalidOperation},
        {"sqrt(-1)",            [&] { (void)Sqrt(Ext(-1)); },            FaultKind::InvalidOperation},
        {"1e4000 * 1e4000",     [&] { (void)(huge * huge); },            FaultKind::Overflow},
        {"1e4000 + ... ",       [&] { (void)(Ext(LDBL_MAX) + Ext(LDBL_MAX)); }, FaultKind::Overflow},
        {"-LDBL_MAX - LDBL_MAX", [&] { (void)(-Ext(LDBL_MAX) - Ext(LDBL_MAX)); }, FaultKind::Overflow},
        {"1e4000 / 1e-4000",    [&] { (void)(huge / Ext(1e-4000L)); },   FaultKind::Overflow},
        {"store 1e309",         [&] { (void)StoreDouble(Ext(1e309L)); }, FaultKind::Overflow},
        {"store -1e309",        [&] { (void)StoreDouble(Ext(-1e309L)); }, FaultKind::Overflow},
        {"1e308 * 10 in extended", [&] { (void)(Ext(1e308) * 10); },     std::nullopt},
        {"store DBL_MAX",       [&] { (void)StoreDouble(Ext(DBL_MAX)); }, std::nullopt},
        {"store 1e-320",        [&] { (void)StoreDouble(Ext(1e-320L)); }, std::nullopt},  // subnormal: no fault
        {"store 1e-400",        [&] { (void)StoreDouble(Ext(1e-400L)); }, std::nullopt},  // underflow: no fault
        {"1e-4000 * 1e-4000",   [&] { (void)(Ext(1e-4000L) * Ext(1e-4000L)); }, std::nullopt},
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
    EXPECT_EQ((Ext(1) + Ext(0x1p-60L) - 1).value(), 0x1p-60L);
    // The product of two doubles beyond the double range is still exact
    // enough to come back into it.
    EXPECT_EQ(StoreDouble(Ext(1e308) * 10 / 10), 1e308);
}

TEST(Ext, storingRoundsToDouble) {
    const Ext third = Ext(1) / 3;
    EXPECT_NE(third.value(), static_cast<long double>(1.0 / 3));
    EXPECT_EQ(StoreDouble(third), 1.0 / 3);
    EXPECT_EQ(Stored(third).value(), static_cast<long double>(1.0 / 3));
    // Just above DBL_MAX but rounding down to it is not an overflow.
    EXPECT_EQ(StoreDouble(Ext(static_cast<long double>(DBL_MAX) * (1 + 0x1p-60L))), DBL_MAX);
}

TEST(Ext, constantsAreTheNearestExtendedValues) {
    EXPECT_EQ(kPi314.value(), 3.14L);
    EXPECT_NE(kPi314.value(), static_cast<long double>(3.14));
    EXPECT_EQ(kSqrt3_1732.value(), 1.732L);
}

}  // namespace
}  // namespace hcalc
