// The grid-code checks against the standards' tables and figures worked by
// hand (bc -l).

#include "core/grid_code.h"

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// clang-format off
struct Corner {
    const char* what;
    double value;
    double expected;
};
const Corner kCorners[] = {
    {"GB T2 0.38 kV",          kGb14549Table2[0].nominalKv,     0.38},
    {"GB T2 0.38 kV S_k2",     kGb14549Table2[0].baseMva,       10},
    {"GB T2 0.38 kV 3rd",      kGb14549Table2[0].amperes[0],    62},
    {"GB T2 0.38 kV 11th",     kGb14549Table2[0].amperes[3],    28},
    {"GB T2 110 kV",           kGb14549Table2[5].nominalKv,     110},
    {"GB T2 110 kV S_k2",      kGb14549Table2[5].baseMva,       750},
    {"GB T2 110 kV 3rd",       kGb14549Table2[5].amperes[0],    9.6},
    {"GB T2 110 kV 11th",      kGb14549Table2[5].amperes[3],    4.3},
    {"GB T1 0.38 kV THD",      kGb14549Table1[0].thdPct,        5.0},
    {"GB T1 0.38 kV odd",      kGb14549Table1[0].oddPct,        4.0},
    {"GB T1 110 kV THD",       kGb14549Table1[5].thdPct,        2.0},
    {"GB T1 110 kV odd",       kGb14549Table1[5].oddPct,        1.6},
    {"GB C alpha 3rd",         kGb14549AnnexCExponents[0],      1.1},
    {"GB C alpha 11th",        kGb14549AnnexCExponents[3],      1.8},
    {"IEEE T2 <20 h<11",       kIeee519Table2[0].below11Pct,    4.0},
    {"IEEE T2 <20 11-17",      kIeee519Table2[0].from11To17Pct, 2.0},
    {"IEEE T2 <20 TDD",        kIeee519Table2[0].tddPct,        5.0},
    {"IEEE T2 >=1000 from",    kIeee519Table2[4].minRatio,      1000},
    {"IEEE T2 >=1000 h<11",    kIeee519Table2[4].below11Pct,    15.0},
    {"IEEE T2 >=1000 11-17",   kIeee519Table2[4].from11To17Pct, 7.0},
    {"IEEE T2 >=1000 TDD",     kIeee519Table2[4].tddPct,        20.0},
    {"IEEE T1 <=1 kV each",    kIeee519Table1[0].individualPct, 5.0},
    {"IEEE T1 <=1 kV THD",     kIeee519Table1[0].thdPct,        8.0},
    {"IEEE T1 >161 kV each",   kIeee519Table1[3].individualPct, 1.0},
    {"IEEE T1 >161 kV THD",    kIeee519Table1[3].thdPct,        1.5},
};

struct Row {
    const char* what;
    std::size_t row;
    std::size_t expected;
};
const Row kRows[] = {
    {"GB 400 V",              NearestGbLevel(400),           0},
    {"GB 1.50 kV",            NearestGbLevel(1500),          0},  // by ratio: 1.51 kV is the boundary
    {"GB 1.52 kV",            NearestGbLevel(1520),          1},
    {"GB 10.5 kV",            NearestGbLevel(10500),         2},
    {"GB 85 kV",              NearestGbLevel(85000),         4},
    {"GB 86 kV",              NearestGbLevel(86000),         5},
    {"IEEE I_SC/I_L 19.99",   Ieee519CurrentRow(19.99),      0},
    {"IEEE I_SC/I_L 19.996",  Ieee519CurrentRow(19.996),     1},  // shown as 20.00
    {"IEEE I_SC/I_L 20",      Ieee519CurrentRow(20),         1},
    {"IEEE I_SC/I_L 49.99",   Ieee519CurrentRow(49.99),      1},
    {"IEEE I_SC/I_L 50",      Ieee519CurrentRow(50),         2},
    {"IEEE I_SC/I_L 100",     Ieee519CurrentRow(100),        3},
    {"IEEE I_SC/I_L 999.99",  Ieee519CurrentRow(999.99),     3},
    {"IEEE I_SC/I_L 1000",    Ieee519CurrentRow(1000),       4},
    {"IEEE 1 kV bus",         Ieee519VoltageRow(1000),       0},
    {"IEEE 69 kV bus",        Ieee519VoltageRow(69000),      1},
    {"IEEE 69.001 kV bus",    Ieee519VoltageRow(69001),      2},
    {"IEEE 161.001 kV bus",   Ieee519VoltageRow(161001),     3},
};
// clang-format on

TEST(GridCode, readsTheTablesAndPicksTheirRows) {
    for (const Corner& c : kCorners) {
        EXPECT_EQ(c.value, c.expected) << c.what;
    }
    for (const Row& r : kRows) {
        EXPECT_EQ(r.row, r.expected) << r.what;
    }
}

// A 10 kV PCC (S_k2 = 100 MVA) with S_k1 = 150 MVA, shared: S_i = 5, S_t = 20 MVA.
//   I_h = 150/100 × (20, 20, 15, 9.3) = 30, 30, 22.5, 13.95 A (Annex B);
//   I_hi = I_h × 0.25^(1/α): 30 × 0.25^(1/1.1) = 8.50734391646597,
//   30 × 0.25^(1/1.2) = 9.44940787421155, 22.5 × 0.25^(1/1.4) = 8.35871787639533,
//   13.95 × 0.25^(1/1.8) = 6.45797611820385 A (Annex C).
TEST(GridCode, apportionsTheGbAllowance) {
    const std::array<double, 4> shared{8.50734391646597, 9.44940787421155, 8.35871787639533, 6.45797611820385};
    const std::array<double, 4> whole{30, 30, 22.5, 13.95};
    const auto sharedAllowed = Gb14549Allowances(2, 150, UserShare{5, 20}).value();
    const auto wholeAllowed = Gb14549Allowances(2, 150, std::nullopt).value();
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_NEAR(sharedAllowed[j], shared[j], 1e-13 * shared[j]) << j;
        EXPECT_NEAR(wholeAllowed[j], whole[j], 1e-13 * whole[j]) << j;
    }
}

// A 10 kV connection point whose PCC is the same bus, with the shared allowance
// above. The 5th's 9.452 A exceeds 9.4494 A but both show as 9.45: it complies.
TEST(GridCode, judgesGbOnTheShownFigures) {
    HarmonicFlows flows;
    flows.lineVoltage = 10000;
    flows.currentWithoutBank = {20, 20, 20, 20};
    flows.currentWithBank = {8.5, 9.452, 8, 6};
    flows.voltageWithoutBank = {350, 100, 100, 100};  // 3rd: 3.50 % > 3.2 %
    flows.voltageWithBank = {100, 100, 100, 100};
    const Gb14549Inputs in{2, 150, UserShare{5, 20}};
    const ComplianceCheck passes = CheckGb14549(flows, in).value();
    EXPECT_TRUE(passes.complies());
    EXPECT_FALSE(passes.compliesWithoutBank);
    EXPECT_EQ(passes.pccCurrentFactor, 1);
    const ShownFigure fifth = ShowFigure(passes.rows[1].current, u',');
    EXPECT_EQ(fifth.withBank, u"9,45"_s);
    EXPECT_EQ(fifth.limit, u"9,45"_s);
    EXPECT_EQ(FormatNominalKv(kGb14549Table2[0].nominalKv, u','), u"0,38"_s);
    EXPECT_EQ(FormatNominalKv(kGb14549Table2[5].nominalKv, u','), u"110"_s);

    // The 5th's current fails, but the first failure is the 3rd's current,
    // which comes before its voltage.
    flows.currentWithBank = {8.52, 9.456, 8, 6};  // 8.52 > 8.51; 9.46 > 9.45
    flows.voltageWithBank[0] = 321;               // 3.21 % > 3.2 %
    const ComplianceCheck fails = CheckGb14549(flows, in).value();
    ASSERT_FALSE(fails.complies());
    EXPECT_EQ(fails.firstFailure->row, 0u);
    EXPECT_EQ(fails.firstFailure->quantity, Quantity::Current);
    EXPECT_TRUE(fails.rows[1].current.exceededWithBank);

    // A 400 V connection point under a 10 kV PCC: its currents are referred by 400 / 10000.
    flows.lineVoltage = 400;
    flows.voltageWithBank = {4, 4, 4, 4};
    const ComplianceCheck referred = CheckGb14549(flows, in).value();
    EXPECT_EQ(referred.voltageTableRow, 0u);
    EXPECT_DOUBLE_EQ(referred.rows[1].current.withBank, 9.456 * 0.04);
    EXPECT_TRUE(referred.complies());
    EXPECT_EQ(CheckGb14549(flows, {0, 150, std::nullopt}).value().pccCurrentFactor, 1);
}

// A 10 kV bus with S_k = 100 MVA: I_SC = 10⁸ / (√3 × 10⁴) = 5773.50269189626 A;
// I_L = 100 A, I_SC / I_L = 57.74: the row from 50 (10.0, 4.5, TDD 12.0 %).
TEST(GridCode, judgesIeeeOnTheShownFigures) {
    HarmonicFlows flows;
    flows.lineVoltage = 10000;
    flows.shortCircuitMva = 100;
    flows.currentWithoutBank = {5, 10.004, 3, 4.6};  // 10.00 % complies, 4.60 % does not
    flows.currentWithBank = {5, 10.004, 3, 4.6};
    flows.voltageWithoutBank = {100, 300.4, 100, 100};  // 3.00 %: complies
    flows.voltageWithBank = {100, 300.6, 100, 100};     // 3.01 %: does not
    const ComplianceCheck check = CheckIeee519(flows, 100).value();
    EXPECT_NEAR(check.shortCircuitCurrent, 5773.50269189626, 1e-9);
    EXPECT_EQ(check.currentTableRow, 2u);
    EXPECT_EQ(check.voltageTableRow, 1u);
    ASSERT_FALSE(check.complies());
    EXPECT_EQ(check.firstFailure->row, 1u);
    EXPECT_EQ(check.firstFailure->quantity, Quantity::Voltage);
    EXPECT_TRUE(check.rows[3].current.exceededWithBank);
    EXPECT_TRUE(check.rows[4].current.exceededWithBank);  // TDD 12.46 %
    EXPECT_FALSE(check.rows[1].voltage.exceededWithoutBank);

    // Above 69 kV the currents are shown, not checked: only the voltages count.
    flows.lineVoltage = 110000;
    flows.shortCircuitMva = 3000;
    const ComplianceCheck high = CheckIeee519(flows, 1).value();
    EXPECT_FALSE(high.currentsChecked());
    EXPECT_EQ(high.voltageTableRow, 2u);
    EXPECT_TRUE(high.complies());
    EXPECT_EQ(ShowFigure(high.rows[1].current, u'.').withBank, u"1000.40"_s);
    EXPECT_TRUE(ShowFigure(high.rows[1].current, u'.').limit.isEmpty());
}

TEST(GridCode, refusesWhatItCannotCompute) {
    HarmonicFlows flows;
    flows.lineVoltage = 400;
    flows.shortCircuitMva = 10;
    EXPECT_FALSE(CheckIeee519(flows, 0).has_value());
    EXPECT_FALSE(CheckGb14549(flows, {6, 10, std::nullopt}).has_value());  // no such level
    EXPECT_FALSE(CheckGb14549(flows, {0, 10, UserShare{1, 0}}).has_value());
    EXPECT_TRUE(CheckGb14549(flows, {0, 10, std::nullopt}).has_value());
    flows.lineVoltage = 0;
    EXPECT_FALSE(CheckGb14549(flows, {0, 10, std::nullopt}).has_value());
    EXPECT_FALSE(CheckIeee519(flows, 100).has_value());
}

}  // namespace
}  // namespace hcalc
