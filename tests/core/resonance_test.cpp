// The resonance and duty check against values from outside the code: the
// resonance order of a plain capacitor, h_r = √(S_k / Q); the limits of IEEE
// Std 18-2002; a tuned branch's series resonance; and the duty of one detuned
// branch worked by hand below.

#include "core/resonance.h"

#include <gtest/gtest.h>

#include <functional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// A plain capacitor (p = 0) of q kvar as the 5th branch on an 11 kV bus with S_k
// = 50 MVA and a nearly lossless network: one parallel resonance, at √(50 / Q).
ResonanceCheck PlainCapacitor(double kvar) {
    ResonanceInputs in;
    in.lineVoltage = 11000;
    in.shortCircuitMva = 50;
    in.xOverR = 1e6;
    in.branches[1] = {true, 11000, kvar, 0, 50};
    return CheckResonance(in).value();
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

// The order, to 0.01, at which a branch's impedance is least.
QString LeastImpedanceOrder(double ratioPct) {
    const BranchImpedance branch = BranchAtFundamental(400, 100, ratioPct, 50);
    double least = 0;
    for (int k = 100; k <= 2500; ++k) {
        const double n = k / 100.0;
        if (least == 0 || Magnitude(BranchImpedanceAt(branch, n)) < Magnitude(BranchImpedanceAt(branch, least))) {
            least = n;
        }
    }
    return FormatDecimals(least, 2, u'.');
}

struct Worked {
    const char* what;
    std::function<double()> value;
    double expected;
};

// clang-format off
const Worked kWorked[] = {
    {"2 Mvar: one resonance",        [] { return double(PlainCapacitor(2000).resonances.size()); }, 1},
    {"3 Mvar: one resonance",        [] { return double(PlainCapacitor(3000).resonances.size()); }, 1},
    {"IEEE 18 rms voltage, %",       [] { return kIeee18Limits.rmsVoltagePct; },                    110},
    {"IEEE 18 peak voltage, %",      [] { return kIeee18Limits.peakVoltagePct; },                   120},
    {"IEEE 18 rms current, %",       [] { return kIeee18Limits.rmsCurrentPct; },                    135},
    {"IEEE 18 reactive power, %",    [] { return kIeee18Limits.reactivePowerPct; },                 135},
    {"detuned: rms voltage, %",      [] { return DetunedBranchDuty().rmsVoltagePct; },              106.674909330747},
    {"detuned: peak voltage, %",     [] { return DetunedBranchDuty().peakVoltagePct; },             108.169008800980},
    {"detuned: rms current, %",      [] { return DetunedBranchDuty().rmsCurrentPct; },              106.929304254440},
    {"detuned: reactive power, %",   [] { return DetunedBranchDuty().reactivePowerPct; },           113.885929186589},
    {"detuned: tuning order",        [] { return BranchAtFundamental(400, 100, 6.25, 40).tuningOrder; }, 4},
    {"transformer alone, MVA",       [] { return TransformerShortCircuitMva(1000, 6); },            16.6666666666667},
};

struct Shown {
    const char* what;
    std::function<QString()> text;
    const char* expected;
};

const Shown kShown[] = {
    {"2 Mvar resonates at",          [] { return FormatDecimals(PlainCapacitor(2000).resonances[0].order, 2, u'.'); }, "5.00"},
    {"3 Mvar resonates at",          [] { return FormatDecimals(PlainCapacitor(3000).resonances[0].order, 2, u'.'); }, "4.08"},
    {"p = 4 %: least |Z| at",        [] { return LeastImpedanceOrder(4); },                          "5.00"},
    {"p = 100/49 %: least |Z| at",   [] { return LeastImpedanceOrder(100.0 / 49); },                 "7.00"},
    {"p = 6.25 %: least |Z| at",     [] { return LeastImpedanceOrder(6.25); },                       "4.00"},
    {"four digits",                  [] { return FormatSignificant(0.0246928, 4, u'.'); },           "0.02469"},
    {"four digits, rounding up",     [] { return FormatSignificant(9.99996, 4, u','); },             "10,00"},
    {"four digits, whole",           [] { return FormatSignificant(1234.5, 4, u'.'); },              "1235"},
    {"four digits, tiny",            [] { return FormatSignificant(-1.5e-5, 4, u'.'); },             "-1.500E-5"},
    {"one decimal, no minus zero",   [] { return FormatDecimals(-0.04, 1, u'.'); },                  "0.0"},
};
// clang-format on

TEST(ResonanceCheck, givesTheWorkedValues) {
    for (const Worked& w : kWorked) {
        EXPECT_NEAR(w.value(), w.expected, w.expected * 1e-13) << w.what;
    }
    for (const Shown& s : kShown) {
        EXPECT_EQ(s.text(), QString::fromUtf8(s.expected)) << s.what;
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
