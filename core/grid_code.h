#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <cstddef>
#include <limits>
#include <optional>

namespace hcalc {

struct ResonanceInputs;
struct ResonanceCheck;

// The harmonic limits of a grid code at the connection, with the bank and
// without it: GB/T 14549-1993 and IEEE Std 519-2014, for the orders 3, 5, 7
// and 11. Computed in double with + − × ÷ and √, and the one power of GB/T
// 14549 Annex C. Every verdict is taken on the figures as shown: a value
// exceeds its limit when its shown text is larger than the limit's, so that
// the table and its verdict never disagree.

// GB/T 14549-1993 Table 2: the allowed harmonic current injected at the PCC,
// A, of the orders 3, 5, 7 and 11, by the PCC's nominal voltage, at the base
// short-circuit capacity S_k2.
struct GbCurrentAllowance {
    double nominalKv;
    double baseMva;                 // S_k2
    std::array<double, 4> amperes;  // I_hp of the orders 3, 5, 7, 11
};
inline constexpr std::array<GbCurrentAllowance, 6> kGb14549Table2{{
    {0.38, 10, {62, 62, 44, 28}},
    {6, 100, {34, 34, 24, 16}},
    {10, 100, {20, 20, 15, 9.3}},
    {35, 250, {12, 12, 8.8, 5.6}},
    {66, 500, {13, 13, 9.3, 5.9}},
    {110, 750, {9.6, 9.6, 6.8, 4.3}},
}};

// GB/T 14549-1993 Table 1: the harmonic voltage limits, % of the fundamental,
// by nominal voltage: the total distortion and each odd order. The same
// levels as Table 2, row for row.
struct GbVoltageLimit {
    double nominalKv;
    double thdPct;
    double oddPct;
};
inline constexpr std::array<GbVoltageLimit, 6> kGb14549Table1{{
    {0.38, 5.0, 4.0},
    {6, 4.0, 3.2},
    {10, 4.0, 3.2},
    {35, 3.0, 2.4},
    {66, 3.0, 2.4},
    {110, 2.0, 1.6},
}};

// GB/T 14549-1993 Annex C: the exponent α that apportions a PCC's allowance
// among its users, of the orders 3, 5, 7 and 11.
inline constexpr std::array<double, 4> kGb14549AnnexCExponents{1.1, 1.2, 1.4, 1.8};

// IEEE Std 519-2014 Table 2 (buses of 120 V to 69 kV): the current limits, %
// of the maximum demand load current I_L, by I_SC / I_L from minRatio up to
// the next row's: for 3 ≤ h < 11, for 11 ≤ h < 17, and the total demand
// distortion.
struct IeeeCurrentLimit {
    double minRatio;
    double below11Pct;
    double from11To17Pct;
    double tddPct;
};
inline constexpr std::array<IeeeCurrentLimit, 5> kIeee519Table2{{
    {0, 4.0, 2.0, 5.0},
    {20, 7.0, 3.5, 8.0},
    {50, 10.0, 4.5, 12.0},
    {100, 12.0, 5.5, 15.0},
    {1000, 15.0, 7.0, 20.0},
}};

// IEEE Std 519-2014 Table 1: the voltage limits, % of the fundamental, by
// the bus voltage up to maxKv (inclusive; above the previous row's): each
// order, and the total distortion.
struct IeeeVoltageLimit {
    double maxKv;
    double individualPct;
    double thdPct;
};
inline constexpr std::array<IeeeVoltageLimit, 4> kIeee519Table1{{
    {1, 5.0, 8.0},
    {69, 3.0, 5.0},
    {161, 1.5, 2.5},
    {std::numeric_limits<double>::infinity(), 1.0, 1.5},
}};

// How a figure is shown: `digits` significant digits, or `digits` decimals
// (FormatCell: with an exponent where that would take more than kCellChars
// characters). Either way a figure takes at most kCellChars characters.
struct ShownPrecision {
    bool significant = false;
    int digits = 2;
};
inline constexpr ShownPrecision kShownAmperes{true, 3};        // GB/T 14549 currents and allowances, A
inline constexpr ShownPrecision kShownPercent{false, 2};       // a current or voltage, %
inline constexpr ShownPrecision kShownLimitPercent{false, 1};  // a limit in %, as the standards print it
inline constexpr ShownPrecision kShownRatio{false, 2};         // I_SC / I_L
inline constexpr ShownPrecision kShownShortCircuit{false, 2};  // I_SC, A

// The figure with the given precision and decimal separator.
QString FormatShown(double value, ShownPrecision precision, QChar decimalSeparator);

// What the check of the connection point gives, at the orders 3, 5, 7 and 11:
// the harmonic current into the network without the bank (the load's I_n)
// and with it (I_S,n), and the harmonic line voltages there.
struct HarmonicFlows {
    double lineVoltage = 0;                      // U, V
    double shortCircuitMva = 0;                  // S_k, MVA
    std::array<double, 4> currentWithoutBank{};  // A
    std::array<double, 4> currentWithBank{};     // A
    std::array<double, 4> voltageWithoutBank{};  // V (line)
    std::array<double, 4> voltageWithBank{};     // V (line)
};
// The flows of a resonance check.
HarmonicFlows FlowsOf(const ResonanceInputs& in, const ResonanceCheck& check);

// A user sharing the PCC: the user's agreed capacity S_i and the supply
// equipment's capacity S_t, MVA.
struct UserShare {
    double agreedMva = 0;
    double supplyMva = 0;

    bool operator==(const UserShare&) const = default;
};

struct Gb14549Inputs {
    std::size_t pccLevel = 0;        // the row of Table 2
    double minShortCircuitMva = 0;   // S_k1 at the PCC
    std::optional<UserShare> share;  // none: the whole allowance (S_i = S_t)

    bool operator==(const Gb14549Inputs&) const = default;
};

// The row of GB/T 14549's levels nearest the line voltage (V) by ratio: the
// one with the least max(U / U_N, U_N / U). The boundaries are the geometric
// means of neighbouring levels (1.51, 7.75, 18.7, 48.1 and 85.2 kV); a
// voltage exactly on one takes the lower level. The PCC's default, and the
// voltage limits' row of the connection point.
std::size_t NearestGbLevel(double lineVoltage);

// The allowed currents of the orders 3, 5, 7 and 11 at the PCC, A: I_h =
// (S_k1 / S_k2) I_hp (Annex B), apportioned to the user by I_hi = I_h (S_i /
// S_t)^(1/α) (Annex C). nullopt for a level outside the table or a result
// that is not finite (S_t = 0).
std::optional<std::array<double, 4>> Gb14549Allowances(std::size_t level, double minShortCircuitMva,
                                                       const std::optional<UserShare>& share);

// I_SC = 10⁶ S_k / (√3 U), A, from S_k (MVA) and U (V); nullopt when not finite.
std::optional<double> ShortCircuitCurrent(double lineVoltage, double shortCircuitMva);

// The row of IEEE 519 Table 2 for I_SC / I_L, as shown (kShownRatio): 19.996
// shows as 20.00 and takes the row from 20.
std::size_t Ieee519CurrentRow(double shortCircuitRatio);
// The row of IEEE 519 Table 1 for the bus's line voltage, V.
std::size_t Ieee519VoltageRow(double lineVoltage);

enum class GridCode { Gb14549, Ieee519 };

// One quantity of a row with its limit. A figure without a limit (the GB
// total current, which the standard does not limit; the IEEE currents of a
// bus above 69 kV) is shown but not checked.
struct ComplianceFigure {
    double withoutBank = 0;
    double withBank = 0;
    bool limited = false;
    double limit = 0;
    ShownPrecision precision;       // of the two values
    ShownPrecision limitPrecision;  // of the limit
    bool exceededWithoutBank = false;
    bool exceededWithBank = false;
};

// The figures as the table shows them; the limit empty where there is none.
struct ShownFigure {
    QString withoutBank;
    QString withBank;
    QString limit;
};
ShownFigure ShowFigure(const ComplianceFigure& figure, QChar decimalSeparator);

// A row of the table: one order, or the total (order 0).
//   GB/T 14549: the current at the PCC (A) against the allowance I_hi; the
//   voltage of the order (% of U) against Table 1's odd limit; the total row:
//   √(Σ I²) without a limit, THD_U against Table 1's.
//   IEEE 519: the current (% of I_L) against the limit of its order; the
//   voltage (% of U) against Table 1's individual limit; the total row: TDD =
//   √(Σ I²) / I_L and THD_U against their limits.
struct ComplianceRow {
    int order = 0;
    ComplianceFigure current;
    ComplianceFigure voltage;
};

enum class CurrentUnit { Ampere, PercentOfDemand };
enum class Quantity { Current, Voltage };

// The first figure exceeded with the bank: the row (0 to 4) and which
// quantity; in the table's order, rows first, the current before the voltage.
struct ComplianceFailure {
    std::size_t row = 0;
    Quantity quantity = Quantity::Current;
};

struct ComplianceCheck {
    GridCode code = GridCode::Gb14549;
    CurrentUnit currentUnit = CurrentUnit::Ampere;
    std::array<ComplianceRow, 5> rows{};  // the orders 3, 5, 7, 11 and the total
    // The tables' rows used: GB, kGb14549Table2 (the PCC) and kGb14549Table1
    // (the connection point's own level); IEEE, kIeee519Table2 and
    // kIeee519Table1. No current row: the currents are not checked (an IEEE
    // bus above 69 kV, whose own table this check does not hold).
    std::optional<std::size_t> currentTableRow;
    std::size_t voltageTableRow = 0;
    // GB: the factor that refers a current at U to the PCC: U / U_PCC, or 1
    // when the PCC is at the connection point's own level.
    double pccCurrentFactor = 1;
    // IEEE: I_SC (A) and I_SC / I_L.
    double shortCircuitCurrent = 0;
    double shortCircuitRatio = 0;
    std::optional<ComplianceFailure> firstFailure;  // with the bank; none: complies
    std::optional<ComplianceFailure> firstFailureWithoutBank;
    bool compliesWithoutBank = false;

    bool currentsChecked() const { return currentTableRow.has_value(); }
    bool complies() const { return !firstFailure.has_value(); }
};

// The checks. nullopt for a level outside the table, or values that would
// divide by zero (U, I_L, S_t) or leave the range of a double.
std::optional<ComplianceCheck> CheckGb14549(const HarmonicFlows& flows, const Gb14549Inputs& in);
std::optional<ComplianceCheck> CheckIeee519(const HarmonicFlows& flows, double maxDemandCurrent);

// What a check against one of the codes is given besides the flows: the
// code, and the inputs of that code (those of the other are not read).
struct GridCodeInputs {
    GridCode code = GridCode::Gb14549;
    Gb14549Inputs gb;             // GB/T 14549
    double maxDemandCurrent = 0;  // IEEE 519: I_L, A

    bool operator==(const GridCodeInputs&) const = default;
};
std::optional<ComplianceCheck> CheckGridCode(const HarmonicFlows& flows, const GridCodeInputs& in);

// The fundamental load current I_L = 1000 P / (√3 U cos φ), A, from the
// active power P (kW), the line voltage U (V) and the power factor; nullopt
// when not finite.
std::optional<double> DemandCurrent(double activePowerKw, double lineVoltage, double powerFactor);

// A nominal voltage as the tables name it, kV: "0.38", "6", "110".
QString FormatNominalKv(double kv, QChar decimalSeparator);

}  // namespace hcalc
