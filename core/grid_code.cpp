#include "core/grid_code.h"

#include "core/checked_double.h"
#include "core/filter_orders.h"
#include "core/resonance.h"

#include <cmath>

namespace hcalc {

namespace {

using checked::Finite;
using checked::kSqrt3;
using checked::NotComputable;
using checked::Quotient;

constexpr std::size_t kTotalRow = 4;

// The value as its shown text reads back: two shown texts compare as the
// decimals they are, since reading a decimal keeps the order.
double AsShown(double value, ShownPrecision precision) {
    return FormatShown(value, precision, u'.').toDouble();
}

ComplianceFigure Figure(double withoutBank, double withBank, ShownPrecision precision) {
    ComplianceFigure f;
    f.withoutBank = Finite(withoutBank);
    f.withBank = Finite(withBank);
    f.precision = precision;
    return f;
}

ComplianceFigure LimitedFigure(double withoutBank, double withBank, ShownPrecision precision, double limit,
                               ShownPrecision limitPrecision) {
    ComplianceFigure f = Figure(withoutBank, withBank, precision);
    f.limited = true;
    f.limit = Finite(limit);
    f.limitPrecision = limitPrecision;
    const double shownLimit = AsShown(limit, limitPrecision);
    f.exceededWithoutBank = AsShown(withoutBank, precision) > shownLimit;
    f.exceededWithBank = AsShown(withBank, precision) > shownLimit;
    return f;
}

// √(Σ x²) over the four orders.
double RootSumSquares(const std::array<double, 4>& x) {
    double sum = 0;
    for (double v : x) {
        sum = sum + v * v;
    }
    return std::sqrt(Finite(sum));
}

// The voltages in % of U against a per-order limit and a THD limit.
void CheckVoltages(const HarmonicFlows& flows, double orderLimitPct, double thdLimitPct, ComplianceCheck& out) {
    const double u = flows.lineVoltage;
    for (std::size_t j = 0; j < kTotalRow; ++j) {
        out.rows[j].voltage =
            LimitedFigure(Quotient(flows.voltageWithoutBank[j], u) * 100, Quotient(flows.voltageWithBank[j], u) * 100,
                          kShownPercent, orderLimitPct, kShownLimitPercent);
    }
    out.rows[kTotalRow].voltage = LimitedFigure(Quotient(RootSumSquares(flows.voltageWithoutBank), u) * 100,
                                                Quotient(RootSumSquares(flows.voltageWithBank), u) * 100, kShownPercent,
                                                thdLimitPct, kShownLimitPercent);
}

// The orders of the rows and the verdicts, from the figures filled in.
void Conclude(ComplianceCheck& out) {
    out.compliesWithoutBank = true;
    const auto note = [&out](const ComplianceFigure& f, std::size_t row, Quantity quantity) {
        if (f.exceededWithBank && !out.firstFailure) {
            out.firstFailure = ComplianceFailure{row, quantity};
        }
        if (f.exceededWithoutBank && !out.firstFailureWithoutBank) {
            out.firstFailureWithoutBank = ComplianceFailure{row, quantity};
            out.compliesWithoutBank = false;
        }
    };
    for (std::size_t r = 0; r < out.rows.size(); ++r) {
        out.rows[r].order = r < kTotalRow ? kFilterOrders[r] : 0;
        note(out.rows[r].current, r, Quantity::Current);
        note(out.rows[r].voltage, r, Quantity::Voltage);
    }
}

}  // namespace

QString FormatShown(double value, ShownPrecision precision, QChar decimalSeparator) {
    return precision.significant ? FormatSignificant(value, precision.digits, decimalSeparator)
                                 : FormatCell(value, precision.digits, decimalSeparator);
}

ShownFigure ShowFigure(const ComplianceFigure& figure, QChar decimalSeparator) {
    ShownFigure shown{FormatShown(figure.withoutBank, figure.precision, decimalSeparator),
                      FormatShown(figure.withBank, figure.precision, decimalSeparator), QString()};
    if (figure.limited) {
        shown.limit = FormatShown(figure.limit, figure.limitPrecision, decimalSeparator);
    }
    return shown;
}

std::size_t NearestGbLevel(double lineVoltage) {
    const double kv = lineVoltage / 1000;
    std::size_t k = 0;
    // Up a level while the next one is nearer by ratio: U / U_k > U_k+1 / U.
    while (kv > 0 && k + 1 < kGb14549Table2.size() &&
           kv / kGb14549Table2[k].nominalKv > kGb14549Table2[k + 1].nominalKv / kv) {
        ++k;
    }
    return k;
}

std::optional<std::array<double, 4>> Gb14549Allowances(std::size_t level, double minShortCircuitMva,
                                                       const std::optional<UserShare>& share) {
    if (level >= kGb14549Table2.size()) {
        return std::nullopt;
    }
    try {
        const GbCurrentAllowance& row = kGb14549Table2[level];
        const double scale = Quotient(minShortCircuitMva, row.baseMva);
        const double part = share ? Quotient(share->agreedMva, share->supplyMva) : 1;
        std::array<double, 4> allowed{};
        for (std::size_t j = 0; j < allowed.size(); ++j) {
            const double whole = scale * row.amperes[j];
            allowed[j] = share ? Finite(whole * std::pow(part, 1 / kGb14549AnnexCExponents[j])) : Finite(whole);
        }
        return allowed;
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

std::optional<double> ShortCircuitCurrent(double lineVoltage, double shortCircuitMva) {
    try {
        return Quotient(1e6 * shortCircuitMva, kSqrt3 * lineVoltage);
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

std::size_t Ieee519CurrentRow(double shortCircuitRatio) {
    const double shown = AsShown(shortCircuitRatio, kShownRatio);
    std::size_t k = 0;
    while (k + 1 < kIeee519Table2.size() && shown >= kIeee519Table2[k + 1].minRatio) {
        ++k;
    }
    return k;
}

std::size_t Ieee519VoltageRow(double lineVoltage) {
    std::size_t k = 0;
    while (k + 1 < kIeee519Table1.size() && lineVoltage > kIeee519Table1[k].maxKv * 1000) {
        ++k;
    }
    return k;
}

std::optional<ComplianceCheck> CheckGb14549(const HarmonicFlows& flows, const Gb14549Inputs& in) {
    const std::optional<std::array<double, 4>> allowed =
        Gb14549Allowances(in.pccLevel, in.minShortCircuitMva, in.share);
    if (!allowed) {
        return std::nullopt;
    }
    try {
        ComplianceCheck out;
        out.code = GridCode::Gb14549;
        out.currentUnit = CurrentUnit::Ampere;
        out.currentTableRow = in.pccLevel;
        out.voltageTableRow = NearestGbLevel(flows.lineVoltage);
        // A PCC at the connection point's own level is the connection point:
        // no transformer between them, nothing to refer.
        out.pccCurrentFactor = in.pccLevel == out.voltageTableRow
                                   ? 1
                                   : Quotient(flows.lineVoltage, kGb14549Table2[in.pccLevel].nominalKv * 1000);
        std::array<double, 4> without{};
        std::array<double, 4> with{};
        for (std::size_t j = 0; j < kTotalRow; ++j) {
            without[j] = Finite(flows.currentWithoutBank[j] * out.pccCurrentFactor);
            with[j] = Finite(flows.currentWithBank[j] * out.pccCurrentFactor);
            out.rows[j].current = LimitedFigure(without[j], with[j], kShownAmperes, (*allowed)[j], kShownAmperes);
        }
        out.rows[kTotalRow].current = Figure(RootSumSquares(without), RootSumSquares(with), kShownAmperes);
        const GbVoltageLimit& limits = kGb14549Table1[out.voltageTableRow];
        CheckVoltages(flows, limits.oddPct, limits.thdPct, out);
        Conclude(out);
        return out;
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

std::optional<ComplianceCheck> CheckIeee519(const HarmonicFlows& flows, double maxDemandCurrent) {
    const std::optional<double> shortCircuit = ShortCircuitCurrent(flows.lineVoltage, flows.shortCircuitMva);
    if (!shortCircuit) {
        return std::nullopt;
    }
    try {
        ComplianceCheck out;
        out.code = GridCode::Ieee519;
        out.currentUnit = CurrentUnit::PercentOfDemand;
        out.shortCircuitCurrent = *shortCircuit;
        out.shortCircuitRatio = Quotient(*shortCircuit, maxDemandCurrent);
        out.voltageTableRow = Ieee519VoltageRow(flows.lineVoltage);
        // Table 2 holds the buses up to 69 kV, Table 1's first two rows.
        if (out.voltageTableRow <= 1) {
            out.currentTableRow = Ieee519CurrentRow(out.shortCircuitRatio);
        }
        for (std::size_t j = 0; j < kTotalRow; ++j) {
            const double without = Quotient(flows.currentWithoutBank[j], maxDemandCurrent) * 100;
            const double with = Quotient(flows.currentWithBank[j], maxDemandCurrent) * 100;
            if (out.currentTableRow) {
                const IeeeCurrentLimit& limits = kIeee519Table2[*out.currentTableRow];
                const double limit = kFilterOrders[j] < 11 ? limits.below11Pct : limits.from11To17Pct;
                out.rows[j].current = LimitedFigure(without, with, kShownPercent, limit, kShownLimitPercent);
            } else {
                out.rows[j].current = Figure(without, with, kShownPercent);
            }
        }
        const double tddWithout = Quotient(RootSumSquares(flows.currentWithoutBank), maxDemandCurrent) * 100;
        const double tddWith = Quotient(RootSumSquares(flows.currentWithBank), maxDemandCurrent) * 100;
        out.rows[kTotalRow].current =
            out.currentTableRow ? LimitedFigure(tddWithout, tddWith, kShownPercent,
                                                kIeee519Table2[*out.currentTableRow].tddPct, kShownLimitPercent)
                                : Figure(tddWithout, tddWith, kShownPercent);
        const IeeeVoltageLimit& limits = kIeee519Table1[out.voltageTableRow];
        CheckVoltages(flows, limits.individualPct, limits.thdPct, out);
        Conclude(out);
        return out;
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

HarmonicFlows FlowsOf(const ResonanceInputs& in, const ResonanceCheck& check) {
    HarmonicFlows flows;
    flows.lineVoltage = in.lineVoltage;
    flows.shortCircuitMva = in.shortCircuitMva;
    flows.currentWithoutBank = check.networkCurrentWithoutBank;
    flows.currentWithBank = check.networkCurrentWithBank;
    flows.voltageWithoutBank = check.voltageWithoutBank;
    flows.voltageWithBank = check.voltageWithBank;
    return flows;
}

std::optional<ComplianceCheck> CheckGridCode(const HarmonicFlows& flows, const GridCodeInputs& in) {
    return in.code == GridCode::Gb14549 ? CheckGb14549(flows, in.gb) : CheckIeee519(flows, in.maxDemandCurrent);
}

std::optional<double> DemandCurrent(double activePowerKw, double lineVoltage, double powerFactor) {
    try {
        return Quotient(1000 * activePowerKw, Finite(kSqrt3 * lineVoltage * powerFactor));
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

QString FormatNominalKv(double kv, QChar decimalSeparator) {
    return QString::number(kv).replace(u'.', decimalSeparator);
}

}  // namespace hcalc
