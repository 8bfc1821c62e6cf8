// The resonance and duty check against values from outside the code: the
// resonance orders of nearly lossless circuits in closed form, the duty of one
// detuned branch and a few rows of the scan worked by hand below, and the
// texts the check page shows of large values and near its verdicts' bounds.

#include "core/resonance.h"

#include <QStringList>

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

// A plain 400 V, 100 kvar capacitor (X_C = 1.6 Ω) on a 400 V network of 16
// MVA, X/R = 10 (X_S = 0.01 Ω, R_S = 0.001 Ω). At the order n: |Z_S| = √(R_S²
// + n² X_S²), the bank's |Z| = X_C / n, and with Y_S = (R_S − j n X_S) / (R_S²
// + n² X_S²), Y = Y_S + j n / X_C:
//   n = 1:     Y = 9.90099 − j(99.0099 − 0.625) = 9.90099 − j98.3849,  |Z| = 1/98.8819 = 0.0101131
//   n = 5:     Y = 0.399840 − j(19.9920 − 3.125) = 0.399840 − j16.8670, |Z| = 1/16.8718 = 0.0592707
//   n = 12.65: Y = 0.0624873 + j0.00160563 (near √(16/0.1) = 12.649),    |Z| = 15.9980
//   n = 25:    Y = 0.0159997 + j(15.625 − 3.99994) = ... + j11.6251,     |Z| = 0.0860210
TEST(ResonanceCheck, writesTheScanAsCsv) {
    ResonanceInputs in;
    in.lineVoltage = 400;
    in.shortCircuitMva = 16;
    in.xOverR = 10;
    in.branches[0] = {true, 400, 100, 0, 0};
    const ResonanceCheck check = CheckResonance(in).value();
    const QStringList rows = ScanCsv(check.scan, u'.').split(u"\r\n"_s);
    ASSERT_EQ(rows.size(), 1 + 2401 + 1);  // the header, every 0.01 from 1 to 25, and the last row's end
    EXPECT_EQ(rows[0], u"谐波次数,电网|Z|(Ω),电容器组|Z|(Ω),电网与电容器组并联|Z|(Ω)"_s);
    EXPECT_EQ(rows[1], u"1.00,0.01005,1.600,0.01011"_s);
    EXPECT_EQ(rows[401], u"5.00,0.05001,0.3200,0.05927"_s);
    EXPECT_EQ(rows[1166], u"12.65,0.1265,0.1265,16.00"_s);
    EXPECT_EQ(rows[2401], u"25.00,0.2500,0.06400,0.08602"_s);
    EXPECT_EQ(ScanCsv(check.scan, u',').split(u"\r\n"_s)[401], u"5,00;0,05001;0,3200;0,05927"_s);
}

TEST(ResonanceCheck, showsEveryValueInItsCellAndDecidesOnWhatItShows) {
    struct Shown {
        QString text;
        const char* expected;
    };
    // clang-format off
    const Shown shown[] = {
        {FormatCell(1e300, 1, u'.'),               "1.000E300"},   // not 300 digits
        {FormatCell(123456789.04, 1, u'.'),        "1.235E8"},     // 11 characters in fixed notation
        {FormatCell(12345678.94, 1, u','),         "12345678,9"},  // 10 fit
        {FormatCell(1.5e146, 2, u'.'),             "1.500E146"},
        {FormatSignificant(1e300, 4, u'.'),        "1.000E300"},
        {FormatSignificant(0.0246928, 4, u'.'),    "0.02469"},
        {FormatSignificant(9.99996, 4, u','),      "10,00"},
        {FormatSignificant(1234.5, 4, u'.'),       "1235"},
        {FormatSignificant(-1.5e-5, 4, u'.'),      "-1.500E-5"},
        {FormatDecimals(-0.04, 1, u'.'),           "0.0"},
    };
    // clang-format on
    for (const Shown& s : shown) {
        EXPECT_EQ(s.text, QString::fromUtf8(s.expected));
    }

    // A duty over its limit of 110 % only where the digits shown say so.
    EXPECT_EQ(AsShown(110.04, 1), 110);  // "110.0"
    EXPECT_EQ(AsShown(110.06, 1), 110.1);
    EXPECT_EQ(AsShown(1.23456e12, 1), 1.235e12);

    struct Near {
        double order;
        std::vector<int> characteristic;
    };
    // clang-format off
    const Near near[] = {
        {4.4996,  {5}},       // shown 4.50: 10 % below the 5th
        {4.4949,  {}},        // shown 4.49
        {11.9,    {11, 13}},  // within 10 % of both
        {12.1049, {11, 13}},  // shown 12.10
        {12.1051, {13}},
        {14.3051, {}},
    };
    // clang-format on
    for (const Near& n : near) {
        EXPECT_EQ(NearbyCharacteristicOrders(n.order), n.characteristic) << n.order;
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
