#include "core/resonance.h"

#include "core/checked_double.h"
#include "core/filter_orders.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace hcalc {

namespace {

using checked::Finite;
using checked::kSqrt3;
using checked::NotComputable;
using checked::Quotient;

Complex Add(Complex a, Complex b) {
    return {a.re + b.re, a.im + b.im};
}

// 1 / (a + jb) = (a − jb) / (a² + b²).
Complex Reciprocal(Complex z) {
    const double d = Finite(z.re * z.re + z.im * z.im);
    return {Quotient(z.re, d), Quotient(-z.im, d)};
}

// The scan's orders, each as k / kScanStepsPerOrder so that no step adds up rounding.
constexpr int kFirstStep = kScanFirstOrder * kScanStepsPerOrder;
constexpr int kLastStep = kScanLastOrder * kScanStepsPerOrder;

// A resonance is pinned down to this fraction of an order: far below the 0.01 shown.
constexpr double kResonanceTolerance = 1e-9;

// |z| for the check: a magnitude beyond the range of a double ends it.
double Abs(Complex z) {
    return Finite(Magnitude(z));
}

// The admittances at one order: the network's and the sum of the branches present.
struct Admittances {
    Complex network;
    Complex bank;
    Complex total() const { return Add(network, bank); }
};

class Circuit {
public:
    explicit Circuit(const ResonanceInputs& in)
        : m_in(in), m_network(NetworkAtFundamental(in.lineVoltage, in.shortCircuitMva, in.xOverR)) {
        Finite(m_network.resistance);
        for (std::size_t k = 0; k < m_branches.size(); ++k) {
            const BranchRating& b = in.branches[k];
            if (b.present) {
                m_branches[k] = BranchAtFundamental(b.ratedVoltage, b.ratedKvar, b.reactanceRatioPct, b.qualityFactor);
                Finite(m_branches[k].resistance);
                Finite(m_branches[k].tuningOrder);
            }
        }
    }

    const std::array<BranchImpedance, 4>& branches() const { return m_branches; }
    const NetworkImpedance& network() const { return m_network; }
    bool present(std::size_t k) const { return m_in.branches[k].present; }

    Admittances at(double order) const {
        Admittances y{Reciprocal(NetworkImpedanceAt(m_network, order)), {}};
        for (std::size_t k = 0; k < m_branches.size(); ++k) {
            if (present(k)) {
                y.bank = Add(y.bank, Reciprocal(BranchImpedanceAt(m_branches[k], order)));
            }
        }
        return y;
    }

    // |Y_S + Σ Y_k|², whose minima are the maxima of |Z|.
    double totalSquared(double order) const {
        const Complex y = at(order).total();
        return Finite(y.re * y.re + y.im * y.im);
    }

private:
    const ResonanceInputs& m_in;
    NetworkImpedance m_network;
    std::array<BranchImpedance, 4> m_branches{};
};

ScanPoint PointAt(const Circuit& circuit, double order) {
    const Admittances y = circuit.at(order);
    return {order, Abs(NetworkImpedanceAt(circuit.network(), order)), Quotient(1, Abs(y.bank)),
            Quotient(1, Abs(y.total()))};
}

// A local minimum of f in the bracket a < x < b, f(x) < f(a) and f(x) ≤
// f(b), by golden-section search, which keeps such a bracket around its best
// point and so never leaves for an end, until the bracket is narrower than
// kResonanceTolerance.
template <class F>
double GoldenMinimum(double a, double x, double b, const F& f) {
    const double share = (3 - std::sqrt(5.0)) / 2;  // the golden section of the larger part
    double fx = f(x);
    while (b - a > kResonanceTolerance) {
        const bool left = x - a > b - x;
        const double u = left ? x - share * (x - a) : x + share * (b - x);
        const double fu = f(u);
        if (fu < fx) {
            (left ? b : a) = x;
            x = u;
            fx = fu;
        } else {
            (left ? a : b) = u;
        }
    }
    return x;
}

// Every parallel resonance in the scan's range: each local maximum of |Z| at
// the connection point, that is each local minimum of |Y|², Y = Y_S + Σ Y_k.
// Samples: every step from one below the range to one above it, each tuning
// order and the midpoint between each two neighbouring tuning orders. A
// sample whose |Y|² lies below its two neighbours' brackets a minimum between
// them, however close they lie, and golden-section search pins it down; a
// minimum found beyond an end, where the curve only rises towards that end,
// is no resonance in the range.
// A maximum of |Z| escapes only where it shares the space between two
// neighbouring samples with a minimum of |Z|. Without losses the reactance of
// the network and of every branch rises with the order, so the susceptance
// rises from −∞ to +∞ between two neighbouring tuning orders (where a
// branch's |Z| vanishes) and crosses zero once: the minima of |Z| are the
// tuning orders, each sampled, and the one maximum between two of them is
// bracketed by the samples between them, the midpoint at least, however close
// they lie. The losses move a minimum of |Z| off its tuning order by a
// fraction of the branch's bandwidth h_t / (2 q); a maximum nearer than that
// to the minimum is flattened by the same losses.
std::vector<ScanPoint> ParallelResonances(const Circuit& circuit) {
    std::vector<double> orders;
    for (int k = kFirstStep - 1; k <= kLastStep + 1; ++k) {
        orders.push_back(k / double(kScanStepsPerOrder));
    }
    std::vector<double> tuning;
    for (std::size_t k = 0; k < circuit.branches().size(); ++k) {
        if (circuit.present(k) && circuit.branches()[k].tuningOrder > 0) {
            tuning.push_back(circuit.branches()[k].tuningOrder);
        }
    }
    std::sort(tuning.begin(), tuning.end());
    const std::size_t count = tuning.size();
    for (std::size_t k = 1; k < count; ++k) {
        tuning.push_back((tuning[k - 1] + tuning[k]) / 2);
    }
    const double lowest = orders.front();
    const double highest = orders.back();
    std::copy_if(tuning.begin(), tuning.end(), std::back_inserter(orders),
                 [&](double n) { return n > lowest && n < highest; });
    std::sort(orders.begin(), orders.end());
    orders.erase(std::unique(orders.begin(), orders.end()), orders.end());

    std::vector<double> y2;
    y2.reserve(orders.size());
    for (double n : orders) {
        y2.push_back(circuit.totalSquared(n));
    }
    std::vector<ScanPoint> peaks;
    const auto f = [&circuit](double n) { return circuit.totalSquared(n); };
    for (std::size_t i = 1; i + 1 < orders.size(); ++i) {
        if (y2[i - 1] > y2[i] && y2[i] <= y2[i + 1]) {
            const double n = GoldenMinimum(orders[i - 1], orders[i], orders[i + 1], f);
            if (n >= kScanFirstOrder && n <= kScanLastOrder) {
                peaks.push_back(PointAt(circuit, n));
            }
        }
    }
    return peaks;
}

// A finite value to `digits` significant digits with an exponent, "1.234E-5".
QString WithExponent(double value, int digits, QChar decimalSeparator) {
    QString text = QString::number(value, 'E', digits - 1);  // "1.234E-05"
    const qsizetype e = text.indexOf(u'E');
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(u'-');
    exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(u'0')) {
        exponent.remove(0, 1);
    }
    text = text.left(e + 1) + (negative ? QStringLiteral("-") : QString()) + exponent;
    return text.replace(u'.', decimalSeparator);
}

}  // namespace

double Magnitude(Complex z) {
    return std::sqrt(z.re * z.re + z.im * z.im);
}

double TransformerShortCircuitMva(double ratingKva, double impedanceVoltagePct) {
    return ratingKva / (10 * impedanceVoltagePct);
}

NetworkImpedance NetworkAtFundamental(double lineVoltage, double shortCircuitMva, double xOverR) {
    const double reactance = Quotient(lineVoltage * lineVoltage, 1e6 * shortCircuitMva);
    return {reactance, Quotient(reactance, xOverR)};
}

Complex NetworkImpedanceAt(const NetworkImpedance& network, double order) {
    return {network.resistance, order * network.reactance};
}

BranchImpedance BranchAtFundamental(double ratedVoltage, double ratedKvar, double reactanceRatioPct,
                                    double qualityFactor) {
    BranchImpedance b;
    b.capacitive = Quotient(ratedVoltage * ratedVoltage, 1000 * ratedKvar);
    if (reactanceRatioPct == 0) {
        return b;  // a plain capacitor
    }
    const double p = reactanceRatioPct / 100;
    b.inductive = p * b.capacitive;
    b.tuningOrder = Quotient(1, std::sqrt(p));
    b.resistance = Quotient(b.tuningOrder * b.inductive, qualityFactor);
    return b;
}

Complex BranchImpedanceAt(const BranchImpedance& branch, double order) {
    return {branch.resistance, order * branch.inductive - Quotient(branch.capacitive, order)};
}

std::optional<ResonanceCheck> CheckResonance(const ResonanceInputs& in) {
    try {
        const Circuit circuit(in);
        ResonanceCheck out;
        out.branches = circuit.branches();

        // At each order present: the bank's share and the voltages at the connection point.
        std::array<Admittances, 4> y{};
        double sumWithout = 0;
        double sumWith = 0;
        for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
            const double n = kFilterOrders[j];
            const double current = in.harmonicCurrents[j];
            y[j] = circuit.at(n);
            const double total = Abs(y[j].total());
            out.bankSharePct[j] = Finite(Quotient(Abs(y[j].bank), total) * 100);
            out.voltageWithoutBank[j] = Finite(kSqrt3 * Abs(NetworkImpedanceAt(circuit.network(), n)) * current);
            out.voltageWithBank[j] = Quotient(kSqrt3 * current, total);
            out.networkCurrentWithoutBank[j] = current;
            out.networkCurrentWithBank[j] = Quotient(current * Abs(y[j].network), total);
            sumWithout = sumWithout + out.voltageWithoutBank[j] * out.voltageWithoutBank[j];
            sumWith = sumWith + out.voltageWithBank[j] * out.voltageWithBank[j];
        }
        out.thdWithoutBankPct = Quotient(std::sqrt(sumWithout), in.lineVoltage) * 100;
        out.thdWithBankPct = Quotient(std::sqrt(sumWith), in.lineVoltage) * 100;

        // Each capacitor's duty over the fundamental and the harmonic orders.
        for (std::size_t k = 0; k < out.branches.size(); ++k) {
            if (!in.branches[k].present) {
                continue;
            }
            const BranchImpedance& b = out.branches[k];
            const BranchRating& rating = in.branches[k];
            const double fundamental = Quotient(in.lineVoltage, kSqrt3 * Abs(BranchImpedanceAt(b, 1)));
            double currentSquares = fundamental * fundamental;
            double voltage = kSqrt3 * fundamental * b.capacitive;
            double voltageSum = voltage;
            double voltageSquares = voltage * voltage;
            double reactive = voltage * fundamental;
            for (std::size_t j = 0; j < kFilterOrders.size(); ++j) {
                const double n = kFilterOrders[j];
                const double yk = Abs(Reciprocal(BranchImpedanceAt(b, n)));
                const double current = Quotient(in.harmonicCurrents[j] * yk, Abs(y[j].total()));
                voltage = Quotient(kSqrt3 * current * b.capacitive, n);
                currentSquares = currentSquares + current * current;
                voltageSum = voltageSum + voltage;
                voltageSquares = voltageSquares + voltage * voltage;
                reactive = reactive + voltage * current;
            }
            const double ratedCurrent = Quotient(1000 * rating.ratedKvar, kSqrt3 * rating.ratedVoltage);
            CapacitorDuty& duty = out.duties[k];
            duty.rmsVoltagePct = Finite(Quotient(std::sqrt(voltageSquares), rating.ratedVoltage) * 100);
            duty.peakVoltagePct = Finite(Quotient(voltageSum, rating.ratedVoltage) * 100);
            duty.rmsCurrentPct = Finite(Quotient(std::sqrt(currentSquares), ratedCurrent) * 100);
            duty.reactivePowerPct = Finite(Quotient(kSqrt3 * reactive, 1000 * rating.ratedKvar) * 100);
        }

        out.resonances = ParallelResonances(circuit);
        for (int k = kFirstStep; k <= kLastStep; ++k) {
            out.scan.push_back(PointAt(circuit, k / double(kScanStepsPerOrder)));
        }
        Finite(out.thdWithoutBankPct);
        Finite(out.thdWithBankPct);
        return out;
    } catch (const NotComputable&) {
        return std::nullopt;
    }
}

bool Amplifies(const ScanPoint& resonance) {
    return resonance.combined > resonance.network;
}

std::vector<int> NearbyCharacteristicOrders(double resonanceOrder) {
    // The shown order in hundredths, exactly: "4.50" is 450.
    const qlonglong shown = QString::number(resonanceOrder, 'f', 2).remove(u'.').toLongLong();
    std::vector<int> near;
    for (int h : kCharacteristicOrders) {
        if (shown >= 90LL * h && shown <= 110LL * h) {
            near.push_back(h);
        }
    }
    return near;
}

QString FormatDecimals(double value, int decimals, QChar decimalSeparator) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') &&
        std::all_of(text.cbegin() + 1, text.cend(), [](QChar c) { return c == u'0' || c == u'.'; })) {
        text.remove(0, 1);  // a small negative value shows as "0.0", not "-0.0"
    }
    return text.replace(u'.', decimalSeparator);
}

QString FormatSignificant(double value, int digits, QChar decimalSeparator) {
    if (!std::isfinite(value)) {
        return QString::number(value);  // "inf" or "nan"; the check gives none
    }
    const double size = value < 0 ? -value : value;
    if (size == 0) {
        return QStringLiteral("0");
    }
    if (size < 1e-4 || size >= 1e9) {
        return WithExponent(value, digits, decimalSeparator);
    }
    // The decade of the value: 10^e ≤ size < 10^(e+1).
    int e = 0;
    double decade = 1;
    while (size >= decade * 10) {
        decade = decade * 10;
        ++e;
    }
    while (size < decade) {
        decade = decade / 10;
        --e;
    }
    int decimals = std::max(0, digits - 1 - e);
    // 9.9996 to four digits rounds up into the next decade: one decimal fewer.
    if (decimals > 0 && QString::number(size, 'f', decimals).toDouble() >= decade * 10) {
        --decimals;
    }
    return FormatDecimals(value, decimals, decimalSeparator);
}

QString FormatCell(double value, int decimals, QChar decimalSeparator) {
    const double size = value < 0 ? -value : value;
    // From 10¹⁰ on, the whole digits alone fill the cell (and would run to 309).
    if (size < 1e10) {
        QString fixed = FormatDecimals(value, decimals, decimalSeparator);
        if (fixed.size() <= kCellChars) {
            return fixed;
        }
    }
    return WithExponent(value, 4, decimalSeparator);
}

double AsShown(double value, int decimals) {
    return FormatCell(value, decimals, u'.').toDouble();
}

QString ScanCsv(const std::vector<ScanPoint>& scan, QChar decimalSeparator) {
    const QChar field = decimalSeparator == u',' ? u';' : u',';
    QString text = QStringLiteral("谐波次数%1电网|Z|(Ω)%1电容器组|Z|(Ω)%1电网与电容器组并联|Z|(Ω)\r\n").arg(field);
    for (const ScanPoint& p : scan) {
        text += FormatDecimals(p.order, 2, decimalSeparator) + field +
                FormatSignificant(p.network, 4, decimalSeparator) + field +
                FormatSignificant(p.bank, 4, decimalSeparator) + field +
                FormatSignificant(p.combined, 4, decimalSeparator) + QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace hcalc
