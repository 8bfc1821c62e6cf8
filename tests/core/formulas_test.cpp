// The pages' formulas, without a window, against values derived apart from the
// code: the README's worked example worked by hand with the formulas' own
// constants (3.14, 314, 1.732, 98596) in exact fractions, a published
// multiplier table, and identities that every branch must satisfy.

#include "core/capacitor_bank.h"
#include "core/capacitor_capacity.h"
#include "core/capacitor_selection.h"
#include "core/compensation.h"
#include "core/filter_branch.h"
#include "core/scheme_search.h"
#include "core/sharing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace hcalc {
namespace {

struct Worked {
    const char* what;
    std::function<Ext()> formula;
    double byHand;  // the exact value, to 17 digits
};

// A 50 kvar, 480 V capacitor tuned to the 5th order, detuned by E = 0.01, in
// two banks on a 400 V site with 40 A of 5th harmonic current.
constexpr double kCapacitanceUf = 230.37567822599670;  // 50000 / (3 × 480² × 314) × 1E6
constexpr double kReactance = 13.824;                  // 1 / (314 C)
constexpr double kDetunedMh = 0.59287643312101911;     // 1.01 × 0.18432 × 1000 / 314

// clang-format off
const Worked kWorked[] = {
    {"capacitance, uF",            [] { return BranchCapacitanceUf(50, 480); },                        kCapacitanceUf},
    {"branch reactance, ohm",      [] { return BranchReactance(50, 480); },                            kReactance},
    {"rated current, A",           [] { return RatedCurrent(480, kReactance); },                       60.138888888888889},
    {"5th harmonic reactance",     [] { return HarmonicReactance(kReactance, 5); },                    2.7648},
    {"tuned reactor, ohm",         [] { return TunedReactorReactance(kReactance, 5); },                0.18432},
    {"tuned inductance, mH",       [] { return ReactorInductanceMh(0.18432); },                        0.58700636942675159},
    {"tuned ratio, %",             [] { return TunedReactanceRatioPct(0.18432, kReactance); },         4},
    {"detuned inductance, mH",     [] { return DetunedInductanceMh(0.58700636942675159, 0.01); },      kDetunedMh},
    {"detuned reactor, ohm",       [] { return ReactorReactance(kDetunedMh); },                        0.1861632},
    {"detuned ratio, %",           [] { return DetunedReactanceRatioPct(0.1861632, kReactance); },     4.04},
    {"harmonic capacity, kvar",    [] { return BanksHarmonicKvar(2, kCapacitanceUf, 5, 40); },         2.21184},
    {"bank capacitor, ohm",        [] { return BankCapacitorReactance(kCapacitanceUf); },              4.608},
    {"bank reactor, ohm",          [] { return BankReactorReactance(kDetunedMh); },                    0.1861632},
    {"line current, A",            [] { return BankLineCurrent(400, 4.608, 0.1861632); },              52.228721380465708},
    {"capacitor voltage, V",       [] { return CapacitorVoltage(52.228721380465708, 4.608); },         416.84035014589412},
    {"capacitor, kvar",            [] { return CapacitorKvar(416.84035014589412, 52.228721380465708); }, 37.707438695692625},
    {"reactor voltage, V",         [] { return ReactorVoltage(52.228721380465708, 0.1861632); },       9.7230659040959137},
    {"reactor, kvar",              [] { return ReactorKvar(9.7230659040959137, 52.228721380465708); }, 1.5234699002067942},
    {"one bank, kvar",             [] { return BankKvar(400, 52.228721380465708); },                   36.184058172386643},
    {"two banks, kvar",            [] { return AllBanks(36.184058172386643, 2); },                     72.368116344773285},
    // 100 uF on 400 V; 1 mH with 100 uF.
    {"single-phase, kvar",         [] { return CapacitorCapacityKvar(1, 100, 400); },                  5.024},
    {"delta, kvar",                [] { return CapacitorCapacityKvar(3, 100, 400); },                  15.072},
    {"reactance ratio",            [] { return ReactanceRatio(1, 100); },                              0.0098596},
    {"resonant order",             [] { return ResonantOrder(0.0098596); },                            10.070947962319678},
    // 500 kW from cos 0.7 to 0.95: 500 (sqrt(0.51) / 0.7 - sqrt(0.0975) / 0.95).
    {"compensation, kvar",         [] { return CompensationKvar(500, 0.95, 0.7); },                    345.75997802077204},
    {"chosen capacitors, kvar",    [] { return ChosenCapacitorsKvar(74.175, 421.557751085186, 480); }, 96.166956521739326},
    // The best sharing of 345 kvar on 230 V with 10, 40, 25 and 10 A: 4, 23, 20 and 68 steps.
    {"11th branch, kvar",          [] { return BranchKvar(68); },                                      204},
    {"S3, kvar",                   [] { return InstalledKvar(230, 10, 3, 4); },                        14.9878125},
    {"S5, kvar",                   [] { return InstalledKvar(230, 40, 5, 23); },                       74.175},
    {"S7, kvar",                   [] { return InstalledKvar(230, 25, 7, 20); },                       61.9732421875},
    {"S11, kvar",                  [] { return InstalledKvar(230, 10, 11, 68); },                      205.72139338235294},
    {"U3, V",  [] { return IdealRatedVoltage(14.9878125, RaisedLineVoltage(230, 3), 3, 4); },          472.21875},
    {"U5, V",  [] { return IdealRatedVoltage(74.175, RaisedLineVoltage(230, 5), 5, 23); },             421.55775108518643},
    {"U11, V", [] { return IdealRatedVoltage(205.721393382353, RaisedLineVoltage(230, 11), 11, 68); }, 401.71233776959307},
};
// clang-format on

TEST(Formulas, giveTheWorkedExampleAsWorkedByHand) {
    for (const Worked& w : kWorked) {
        EXPECT_NEAR(StoreDouble(w.formula()), w.byHand, std::fabs(w.byHand) * 1e-15) << w.what;
    }
}

// The kvar multiplier tables that suppliers publish give 0.692 kvar per kW
// from cos 0.70 to 0.95, to three decimals.
TEST(Formulas, compensationAgreesWithThePublishedMultiplier) {
    EXPECT_NEAR(StoreDouble(CompensationKvar(1, 0.95, 0.70)), 0.692, 0.0005);
    EXPECT_NEAR(StoreDouble(CompensationKvar(1000, 0.95, 0.80)), 421, 0.5);  // 0.421 kvar per kW
}

TEST(Formulas, branchesSatisfyTheirIdentities) {
    for (const int h : {3, 5, 7, 11}) {
        for (const double kvar : {25.0, 50.0, 180.0}) {
            SCOPED_TRACE(testing::Message() << kvar << " kvar, order " << h);
            const Ext xc = BranchReactance(kvar, 525);
            // Tuned to h, the reactor's reactance is Xc / (3 h²): a ratio of 1/h².
            const Ext xl = TunedReactorReactance(xc, h);
            EXPECT_NEAR(StoreDouble(TunedReactanceRatioPct(xl, xc)), 100.0 / (h * h), 1e-13);
            // The inductance gives the reactance back, and detuning by E raises the ratio by 1 + E.
            const Ext mh = ReactorInductanceMh(xl);
            EXPECT_NEAR(StoreDouble(ReactorReactance(mh)) / StoreDouble(xl), 1, 1e-15);
            const Ext detunedXl = ReactorReactance(DetunedInductanceMh(mh, -0.02));
            EXPECT_NEAR(StoreDouble(DetunedReactanceRatioPct(detunedXl, xc)), 98.0 / (h * h), 1e-12);
            // The same pair on the simple page, the delta's capacitance as its star equivalent 3C:
            // it resonates at h.
            const Ext starUf = Ext(3) * BranchCapacitanceUf(kvar, 525);
            EXPECT_NEAR(StoreDouble(ResonantOrder(ReactanceRatio(mh, starUf))), h, 1e-12 * h);
            // At the rated voltage the capacitor takes its rated capacity: sqrt(3) U I = Q, within 1.732's rounding.
            EXPECT_NEAR(StoreDouble(kSqrt3_1732 * 525 * RatedCurrent(525, xc) / 1000), kvar, kvar * 1e-4);
        }
    }
}

// Whatever the order, even beyond 32 bits squared, tuned means a ratio of 1/h² and a reactor of the sign of
// Xc: the divisor 3 h² never wraps around.
TEST(Formulas, tuningToAnyOrderKeepsTheRatio) {
    const Ext xc = BranchReactance(100, 400);
    for (const std::int32_t h : {1, -5, 26755, 2147483647, -2147483647 - 1}) {
        const Ext xl = TunedReactorReactance(xc, h);
        EXPECT_GT(StoreDouble(xl), 0) << h;
        EXPECT_NEAR(StoreDouble(TunedReactanceRatioPct(xl, xc) / 100 * h * h), 1.0, 1e-12) << h;
    }
}

TEST(Formulas, banksBalanceTheirReactivePower) {
    for (const double mh : {0.2, 0.59287643312102, 2.5}) {
        SCOPED_TRACE(mh);
        const Ext xc = BankCapacitorReactance(kCapacitanceUf);
        const Ext xl = BankReactorReactance(mh);
        const Ext i = BankLineCurrent(400, xc, xl);
        // What a bank delivers is what its capacitor gives less what its reactors take, within 1.732² ≠ 3.
        const double delivered = StoreDouble(BankKvar(400, i));
        const double balance =
            StoreDouble(CapacitorKvar(CapacitorVoltage(i, xc), i) - ReactorKvar(ReactorVoltage(i, xl), i));
        EXPECT_NEAR(delivered, balance, delivered * 1e-4);
        // Twice the banks, twice the harmonic capacitance: half the harmonic capacity.
        EXPECT_NEAR(StoreDouble(BanksHarmonicKvar(2, kCapacitanceUf, 5, 40)),
                    StoreDouble(BanksHarmonicKvar(1, kCapacitanceUf, 5, 40)) / 2, 1e-15);
    }
}

// The best sharing's installed capacities add up to S总, whose ratio to the 3 kvar per step is the best Q总/S总;
// a branch without steps installs nothing.
TEST(Formulas, theBestSharingInstallsItsTotal) {
    const SchemeInputs site{SharingSteps(345), 230, {10, 40, 25, 10}};
    ASSERT_EQ(site.steps, 115);
    const SearchOutcome outcome = SchemeSearch(site);
    ASSERT_FALSE(outcome.fault.has_value());
    const std::array<std::int32_t, 4> best = outcome.bestSteps();
    EXPECT_EQ(best, (std::array<std::int32_t, 4>{4, 23, 20, 68}));
    double total = 0;
    for (std::size_t j = 0; j < best.size(); ++j) {
        total += StoreDouble(InstalledKvar(site.phaseVoltage, site.currents[j], kFilterOrders[j], best[j]));
    }
    EXPECT_NEAR(total, 356.85744806985294, 1e-12);
    EXPECT_NEAR(outcome.bestRatio(), 3.0 * site.steps / total, 1e-15);
    EXPECT_EQ(StoreDouble(InstalledKvar(230, 10, 3, 0)), 0);
    EXPECT_NEAR(StoreDouble(TuningFactor(11)), 121.0 / 120.0, 1e-16);
}

TEST(Formulas, capacitorsKeepTheirCapacitanceAcrossVoltages) {
    // A delta takes three capacitors on the line voltage; the chosen capacitors keep Q / U².
    const double single = StoreDouble(CapacitorCapacityKvar(1, 47, 690));
    EXPECT_NEAR(StoreDouble(CapacitorCapacityKvar(3, 47, 690)), 3 * single, single * 1e-14);
    const double before = 205.721393382353 / (401.712337769593 * 401.712337769593);
    const double chosen = StoreDouble(ChosenCapacitorsKvar(205.721393382353, 401.712337769593, 450));
    EXPECT_NEAR(chosen / (450.0 * 450.0), before, before * 1e-15);
}

}  // namespace
}  // namespace hcalc
