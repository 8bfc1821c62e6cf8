// The resonance and duty check against values from outside the code: the
// resonance orders of nearly lossless circuits in closed form and the duty of
// one detuned branch worked by hand below.

#include "core/resonance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// Branches of U_R = U = 400 V and 100 kvar (X_C = 1.6 Ω) with reactance
// ratios p (%), reactors of q = 10⁴, on a 400 V network of S_k MVA with X/R =
// 10⁶: nearly lossless, so that a resonance lies where the susceptance
// vanishes. With k = X_C / X_S = 10 S_k and x = n²:
//   two branches:   (k p₁p₂ + p₁ + p₂) x² − (k (p₁ + p₂) + 2) x + k = 0,
//   three branches, k → 0: (p₂p₃ + p₁p₃ + p₁p₂) x² − 2 (p₁ + p₂ + p₃) x + 3 = 0.
ResonanceInputs Detuned(double shortCircuitMva, const std::vector<double>& ratiosPct) {
    ResonanceInputs in;
    in.lineVoltage = 400;
    in.shortCircuitMva = shortCircuitMva;
    in.xOverR = 1e6;
    for (std::size_t k = 0; k < ratiosPct.size(); ++k) {
        in.branches[k] = {true, 400, 100, ratiosPct[k], 1e4};
    }
    return in;
}

// A plain capacitor on an 11 kV network of S_k = 50 MVA, X/R = 10⁶, sized to
// resonate at the order h: Q = S_k / h², as h = √(S_k / Q).
ResonanceInputs PlainCapacitor(double order) {
    ResonanceInputs in;
    in.lineVoltage = 11000;
    in.shortCircuitMva = 50;
    in.xOverR = 1e6;
    in.branches[1] = {true, 11000, 50000 / (order * order), 0, 50};
    return in;
}

TEST(ResonanceCheck, findsEveryResonanceOffTheScansSteps) {
    struct Case {
        const char* what;
        ResonanceInputs in;
        std::vector<double> expected;  // orders, from the closed forms above
    };
    // clang-format off
    const Case cases[] = {
        {"within a step of the first order", PlainCapacitor(1.004),   {1.004}},
        {"within a step of the last order",  PlainCapacitor(24.997),  {24.997}},
        {"between steps",                    PlainCapacitor(7.3456),  {7.3456}},
        {"beyond the first order",           PlainCapacitor(0.996),   {}},
        {"beyond the last order",            PlainCapacitor(25.004),  {}},
        // h_t = 5 and 5.0031, in one step; the network's resonance 0.37 below.
        {"two tuning orders in one step",    Detuned(30, {4, 3.995}),           {4.63033628147552, 5.00156909760386}},
        // h_t = 5, 5.0031 and 5.0063: a resonance on each side of the middle one, in one step.
        {"three tuning orders in one step",  Detuned(1e-3, {4, 3.995, 3.99}),   {5.00132130397756, 5.00493652075028}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const ResonanceCheck check = CheckResonance(c.in).value();
        std::vector<double> found;
        for (const ScanPoint& p : check.resonances) {
            found.push_back(p.order);
        }
        EXPECT_EQ(found.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < std::min(found.size(), c.expected.size()); ++i) {
            EXPECT_NEAR(found[i], c.expected[i], 1e-4) << c.what;
        }
    }
}

// A 100 kvar, 400 V capacitor with a reactor of p = 6.25 % and q = 40 on a 400
// V network of S_k = 16 MVA, X/R = 10, carrying 50 A of the 5th harmonic:
//   X_C = 400² / 100000 = 1.6 Ω, X_L = 0.1 Ω, h_t = 1/√0.0625 = 4,
//   R = 4 × 0.1 / 40 = 0.01 Ω; X_S = 400² / 16E6 = 0.01 Ω, R_S = 0.001 Ω.
//   n = 1: |Z| = √(0.01² + 1.5²) = 1.50003333296297 Ω,
//          I_1 = 400 / (√3 |Z|) = 153.956650563012 A, U_C1 = √3 I_1 X_C = 426.657185501223 V.
//   n = 5: Z_S = 0.001 + j0.05, Z_k = 0.01 + j(0.5 − 0.32) = 0.01 + j0.18,
//          I_5 = 50 |Z_S| / |Z_S + Z_k| = 50 √0.002501 / √0.053021 = 10.8593265501990 A,
//          U_C5 = √3 I_5 × 1.6 / 5 = 6.01884970269642 V.
//   I_R = 100000 / (√3 × 400) = 144.337567297406 A.
//   rms voltage √(U_C1² + U_C5²) / 400 = 106.674909330747 %,
//   peak voltage (U_C1 + U_C5) / 400 = 108.169008800980 %,
//   rms current √(I_1² + I_5²) / I_R = 106.929304254440 %,
//   reactive power √3 (U_C1 I_1 + U_C5 I_5) / 100000 = 113.885929186589 %.
CapacitorDuty DetunedBranchDuty() {
    ResonanceInputs in;
    in.lineVoltage = 400;
    in.shortCircuitMva = 16;
    in.xOverR = 10;
    in.branches[1] = {true, 400, 100, 6.25, 40};
    in.harmonicCurrents = {0, 50, 0, 0};
    return CheckResonance(in).value().duties[1];
}

TEST(ResonanceCheck, givesTheWorkedDuty) {
    struct Worked {
        const char* what;
        std::function<double()> value;
        double expected;
    };
    // clang-format off
    const Worked worked[] = {
        {"rms voltage, %",          [] { return DetunedBranchDuty().rmsVoltagePct; },                  106.674909330747},
        {"peak voltage, %",         [] { return DetunedBranchDuty().peakVoltagePct; },                 108.169008800980},
        {"rms current, %",          [] { return DetunedBranchDuty().rmsCurrentPct; },                  106.929304254440},
        {"reactive power, %",       [] { return DetunedBranchDuty().reactivePowerPct; },               113.885929186589},
        {"tuning order",            [] { return BranchAtFundamental(400, 100, 6.25, 40).tuningOrder; }, 4},
        {"transformer alone, MVA",  [] { return TransformerShortCircuitMva(1000, 6); },                16.6666666666667},
    };
    // clang-format on
    for (const Worked& w : worked) {
        EXPECT_NEAR(w.value(), w.expected, w.expected * 1e-13) << w.what;
    }
}

// Values beyond a double's range, or a bank without a branch, end the check
// instead of dividing by zero or showing infinity.
TEST(ResonanceCheck, refusesWhatItCannotCompute) {
    ResonanceInputs in;
    in.lineVoltage = 400;
    in.shortCircuitMva = 1e-300;  // X_S = 1.6E299 Ω: its square overflows
    in.xOverR = 10;
    in.branches[0] = {true, 400, 100, 0, 50};
    EXPECT_FALSE(CheckResonance(in).has_value());
    in.shortCircuitMva = 10;
    in.branches[0] = {false, 0, 0, 0, 0};  // no branch: the bank has no admittance
    EXPECT_FALSE(CheckResonance(in).has_value());
}

}  // namespace
}  // namespace hcalc
