#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace hcalc {

// The resonance and capacitor-duty check of a filter bank on its network,
// per phase in the star equivalent at 50 Hz. Everything is computed in double
// with + − × ÷ and √ only (a magnitude is √(re² + im²)), so that every
// platform shows the same digits.

// A complex value in ohm or siemens.
struct Complex {
    double re = 0;
    double im = 0;
};

// √(re² + im²).
double Magnitude(Complex z);

// The short-circuit power of the supplying transformer alone, MVA: its rating
// S_T (kVA) over ten times its impedance voltage u_k (%), S_T / (10 u_k).
double TransformerShortCircuitMva(double ratingKva, double impedanceVoltagePct);

// The network at the connection point: X_S = U² / (10⁶ S_k) and R_S = X_S /
// (X/R), ohm, from the line voltage U (V), the short-circuit power S_k (MVA)
// and the network's X/R.
struct NetworkImpedance {
    double reactance = 0;   // X_S at the fundamental, ohm
    double resistance = 0;  // R_S, ohm
};
NetworkImpedance NetworkAtFundamental(double lineVoltage, double shortCircuitMva, double xOverR);
// Z_S(n) = R_S + j n X_S.
Complex NetworkImpedanceAt(const NetworkImpedance& network, double order);

// A filter branch from its capacitor's rating and its reactor: X_C = U_R² /
// (1000 Q_R), X_L = p X_C and the reactor's R = h_t X_L / q with the tuning
// order h_t = 1 / √p (p as a fraction). A branch with p = 0 is a plain
// capacitor: no reactor, no resistance, no tuning order.
struct BranchImpedance {
    double capacitive = 0;   // X_C at the fundamental, ohm
    double inductive = 0;    // X_L at the fundamental, ohm
    double resistance = 0;   // the reactor's R, ohm
    double tuningOrder = 0;  // h_t; 0 for a plain capacitor
};
BranchImpedance BranchAtFundamental(double ratedVoltage, double ratedKvar, double reactanceRatioPct,
                                    double qualityFactor);
// Z_k(n) = R + j (n X_L − X_C / n).
Complex BranchImpedanceAt(const BranchImpedance& branch, double order);

// The limits of a capacitor's duty in IEEE Std 18-2002, percent of its rating.
struct CapacitorLimits {
    double rmsVoltagePct;
    double peakVoltagePct;
    double rmsCurrentPct;
    double reactivePowerPct;
};
inline constexpr CapacitorLimits kIeee18Limits{110, 120, 135, 135};

// A capacitor's duty, percent of its rating, over the fundamental and the
// harmonic orders present: rms voltage √(Σ U_C,n²) / U_R; peak voltage Σ
// U_C,n / U_R (the peaks add); rms current √(Σ I_n²) / I_R with I_R = 1000 Q_R
// / (√3 U_R); reactive power √3 Σ U_C,n I_n / (1000 Q_R). U_C,n = √3 I_n X_C
// / n is the line voltage across the capacitor at order n.
struct CapacitorDuty {
    double rmsVoltagePct = 0;
    double peakVoltagePct = 0;
    double rmsCurrentPct = 0;
    double reactivePowerPct = 0;
};

// What the check is given: the network, and for each of the orders 3, 5, 7
// and 11 the load's harmonic current and the branch of that order, if any.
struct BranchRating {
    bool present = false;          // a branch with no capacity is absent
    double ratedVoltage = 0;       // U_R, V
    double ratedKvar = 0;          // Q_R, kvar, three-phase
    double reactanceRatioPct = 0;  // p, %; 0 for a plain capacitor
    double qualityFactor = 0;      // q of the reactor

    bool operator==(const BranchRating&) const = default;
};
struct ResonanceInputs {
    double lineVoltage = 0;      // U, V
    double shortCircuitMva = 0;  // S_k, MVA
    double xOverR = 0;
    std::array<BranchRating, 4> branches{};    // orders 3, 5, 7, 11
    std::array<double, 4> harmonicCurrents{};  // I_h, A, of the orders 3, 5, 7, 11

    bool operator==(const ResonanceInputs&) const = default;
};

// |Z| at one order of the scan, ohm: the network alone, the bank alone and
// the two in parallel as the connection point sees them.
struct ScanPoint {
    double order = 0;
    double network = 0;
    double bank = 0;
    double combined = 0;
};

struct ResonanceCheck {
    std::array<BranchImpedance, 4> branches{};
    std::array<CapacitorDuty, 4> duties{};       // of the branches present
    std::array<double, 4> bankSharePct{};        // |Σ I_k,n| / I_n, per order
    std::array<double, 4> voltageWithoutBank{};  // U_n at the connection point, V (line)
    std::array<double, 4> voltageWithBank{};     // V (line)
    // The harmonic current into the network: the load's I_n without the
    // bank, I_S,n = I_n |Y_S| / |Y_S + Σ Y_k| with it, A.
    std::array<double, 4> networkCurrentWithoutBank{};
    std::array<double, 4> networkCurrentWithBank{};
    double thdWithoutBankPct = 0;
    double thdWithBankPct = 0;
    std::vector<ScanPoint> resonances;  // each parallel resonance in the scan's range: its order and |Z| there
    std::vector<ScanPoint> scan;        // every step of the scan's range (core/filter_orders.h)
};

// The whole check. The inputs must be positive where physical quantities are
// (U, S_k, X/R; U_R, Q_R and q of a branch present; 0 ≤ p < 100), I_h ≥ 0,
// and at least one branch present.
// nullopt when the values are so extreme that a step would leave the range of
// a double or divide by zero: every value of a check given is finite.
std::optional<ResonanceCheck> CheckResonance(const ResonanceInputs& in);

// Whether the bank amplifies the harmonics at a resonance: |Z| of the network
// with the bank exceeds the network's own |Z_S| at that order.
bool Amplifies(const ScanPoint& resonance);

// The characteristic orders (kCharacteristicOrders) within ±10 % of a
// resonance as the page shows it, to two decimals: every h with 0.9 h ≤ shown
// ≤ 1.1 h, decided on the shown digits (4.4996 shows as 4.50, next to the 5th).
// Between 11.70 and 12.10 both the 11th and the 13th.
std::vector<int> NearbyCharacteristicOrders(double resonanceOrder);

// The scan as CSV, one row per order step: order and the three |Z|, with a
// header row. Decimal point and comma, or decimal comma and semicolon.
QString ScanCsv(const std::vector<ScanPoint>& scan, QChar decimalSeparator);

// What the check page shows, with the given decimal separator, of a finite
// value: the value with `decimals` decimals; the value to `digits`
// significant digits (fixed notation from 0.0001 to below 10⁹, otherwise
// "1.234E-5": at most ten characters for four digits of a positive value).
QString FormatDecimals(double value, int decimals, QChar decimalSeparator);
QString FormatSignificant(double value, int digits, QChar decimalSeparator);

// The most characters a number takes in a result cell of the check page: as
// many as FormatSignificant takes for four digits.
inline constexpr int kCellChars = 10;
// A value for a result cell: with `decimals` decimals where that takes at
// most kCellChars characters, otherwise to four significant digits with an
// exponent ("1.235E12"). And the value of that text, on which every verdict
// about the value is decided, so that a text and its verdict never disagree.
QString FormatCell(double value, int decimals, QChar decimalSeparator);
double AsShown(double value, int decimals);

}  // namespace hcalc
