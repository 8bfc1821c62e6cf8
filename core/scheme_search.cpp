#include "core/scheme_search.h"

#include "core/extended.h"
#include "core/physical_memory.h"
#include "core/sharing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace hcalc {

namespace {

using Steps = std::array<std::int32_t, 4>;

// The scheme's total installed capacity: S3 + S5 + S7 + S11, added left to right in extended precision (a
// branch without steps adds 0).
Ext SchemeTotal(const std::array<double, 4>& s) {
    return Ext(s[0]) + s[1] + s[2] + s[3];
}

// Q总/S总: the delivered reactive power per phase, 1000 var per step, over the installed capacity; kept as a
// double.
double SchemeRatio(std::int32_t n, Ext total) {
    return StoreDouble(Ext(1000) * n / total);
}

// A scheme is admissible when exactly the branches with a nonzero harmonic current have steps.
bool Admissible(const SchemeInputs& in, const Steps& a) {
    for (std::size_t j = 0; j < a.size(); ++j) {
        if ((in.currents[j] == 0) != (a[j] == 0)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t ImprovementChain::DefaultBudgetBytes() {
    static const std::size_t budget = [] {
        const std::optional<std::uint64_t> memory = PhysicalMemoryBytes();
        if (!memory) {
            return std::numeric_limits<std::size_t>::max();
        }
        return static_cast<std::size_t>(std::min<std::uint64_t>(*memory / 2, std::numeric_limits<std::size_t>::max()));
    }();
    return budget;
}

std::uint64_t ImprovementChain::BytesFor(std::uint64_t lines) {
    const std::uint64_t blocks = lines / kBlock + (lines % kBlock != 0 ? 1 : 0);
    return blocks * kBlock * sizeof(Improvement);
}

void ImprovementChain::reserveBlock() {
    if ((m_blocks.size() + 1) * kBlock * sizeof(Improvement) > m_budgetBytes) {
        throw std::bad_alloc();
    }
    m_blocks.emplace_back().reserve(kBlock);
}

std::vector<Improvement> ImprovementChain::toVector() const {
    std::vector<Improvement> lines;
    lines.reserve(m_size);
    for (const auto& block : m_blocks) {
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

double BranchCapacity(double phaseVoltage, double current, int h, std::int32_t a) {
    return StoreDouble(BranchCapacityVa(phaseVoltage, current, h, a));
}

SearchOutcome LiteralSchemeSearch(const SchemeInputs& in) {
    SearchOutcome out;
    const std::int32_t n = in.steps;
    double best = 0;  // R*
    // Each branch's capacity for a number of steps, computed when a scheme first needs it and the same value
    // every time after (0: not yet computed; a capacity is never 0). A capacity that overflows stops the search
    // the first time it is computed, as it would each time.
    std::array<std::vector<double>, 4> kept;
    for (auto& branch : kept) {
        branch.assign(static_cast<std::size_t>(std::max(n, 0)) + 1, 0);
    }
    const auto capacity = [&](std::size_t j, std::int32_t a) {
        double& c = kept[j][static_cast<std::size_t>(a)];
        if (c == 0) {
            c = BranchCapacity(in.phaseVoltage, in.currents[j], kFilterOrders[j], a);
        }
        return c;
    };
    try {
        for (std::int32_t k = 0; k <= n; ++k) {
            const std::int32_t a3 = n - k;
            for (std::int32_t a5 = 0; a5 <= k; ++a5) {
                for (std::int32_t a7 = 0; a7 <= k - a5; ++a7) {
                    const Steps a{a3, a5, a7, k - a5 - a7};
                    std::array<double, 4> s{};
                    for (std::size_t j = 0; j < a.size(); ++j) {
                        s[j] = a[j] != 0 ? capacity(j, a[j]) : 0;
                    }
                    const Ext total = SchemeTotal(s);
                    if (total == 0) {
                        continue;  // the all-zero scheme of N = 0 gets no ratio
                    }
                    const double r = Admissible(in, a) ? SchemeRatio(n, total) : 0;
                    if (r > best) {
                        best = r;
                        out.chain.push_back({r, a});
                    }
                }
            }
        }
    } catch (const CalcFault& fault) {
        out.fault = fault;
    }
    return out;
}

// The fast search. The best ratio belongs to the smallest total S = S3 + S5 + S7 + S11 (the ratio only falls as
// the total grows), so a range of schemes that provably has a total no smaller than the best's cannot add a
// line, and is skipped. The proofs use the exact real values of the capacities: each S_h(a) =
// k_h*(C_h/(1000*h*a) + 1000*a) is convex in a, and the double the search keeps is within 1.2e-16 of it.
// Every scheme that is not ruled out is evaluated exactly as the literal search evaluates it, in the
// literal search's order, so the chain comes out bit for bit the same. The bounds are computed in double on
// every processor, whatever its long double; the margins below are for double's 2^-53.
//
// Levels: the branches with a current are nested as the loops nest them (a3 first, running down; the others
// running up); each level chooses its branch's steps and the last branch takes the rest. For a choice at a
// level, the smallest total below it is the chosen capacities plus the least capacity of the remaining
// branches for the remaining steps, M(m). M is convex in m (the marginal costs of convex branches merge in
// order), so that bound is convex in the choice: the choices that may improve form one run around its
// minimum, and the scan for them stops, on each side, at a choice whose bound is above the best and rising.
namespace {

// Relative distance of a kept capacity (at most 1.2e-16), or of a sum of up to four of them computed in double
// (at most 4.6e-16), from the exact real value, with room for the roundings of the bounds themselves.
constexpr double kRel = 2e-15;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Steps per branch whose capacities and marginal costs are tabulated; beyond, they are computed when needed.
constexpr std::int32_t kTableSteps = 1 << 21;

// An upper bound on the distance of a computed marginal cost from the exact one: its evaluation in double rounds
// at most eight times values no larger than 2250 + |mu|, each by at most 2^-53 (1.1e-16) of the value.
double MarginalError(double mu) {
    return 1e-14 * (2500 + std::fabs(mu));
}

// One branch with a current: its kept capacities S(a), as the literal search computes them, and the exact
// marginal costs S(a+1) - S(a) = k*(1000 - C/(1000*h*a*(a+1))), which rise with a.
class Branch {
public:
    Branch() = default;
    // Tabulating a million steps takes a while with some backends of the extended arithmetic: a request to
    // cancel stops it, and the branch is then cancelled().
    Branch(const SchemeInputs& in, std::size_t index, std::int32_t firstSteps, std::int32_t lastSteps,
           const SearchControl* control)
        : m_u(in.phaseVoltage), m_i(in.currents[index]), m_h(kFilterOrders[index]) {
        const double ui = m_u * m_i;  // a product of the two first: a large U and a tiny I do not overflow
        m_c = ui * ui;
        m_k = StoreDouble(TuningFactor(m_h));
        m_scale = 1000.0 * m_h;
        const std::int32_t last = std::min(lastSteps, kTableSteps);
        if (last >= 1) {
            m_capacity.assign(static_cast<std::size_t>(last) + 1, 0);
            m_marginal.assign(static_cast<std::size_t>(last) + 1, 0);
            for (std::int32_t a = std::max(firstSteps, 1); a <= last; ++a) {
                if ((a & 4095) == 0 && control != nullptr && control->cancelRequested()) {
                    m_cancelled = true;
                    return;
                }
                m_capacity[static_cast<std::size_t>(a)] = BranchCapacity(m_u, m_i, m_h, a);
            }
            for (std::int32_t a = 1; a <= last; ++a) {
                m_marginal[static_cast<std::size_t>(a)] = computeMarginal(a);
            }
        }
    }

    double capacity(std::int32_t a) const {
        return static_cast<std::size_t>(a) < m_capacity.size() ? m_capacity[static_cast<std::size_t>(a)]
                                                               : BranchCapacity(m_u, m_i, m_h, a);
    }
    bool cancelled() const { return m_cancelled; }
    double marginal(std::int32_t a) const {
        return static_cast<std::size_t>(a) < m_marginal.size() ? m_marginal[static_cast<std::size_t>(a)]
                                                               : computeMarginal(a);
    }

private:
    double computeMarginal(std::int32_t a) const {
        const double steps = a;
        return m_k * (1000 - m_c / (m_scale * (steps * (steps + 1))));
    }

    double m_u = 0;
    double m_i = 0;
    int m_h = 0;
    double m_c = 0;      // U*U*I*I; infinite only where U*I passes 1e154, and then rules nothing out
    double m_k = 0;      // h^2 / (h^2 - 1)
    double m_scale = 0;  // 1000*h
    std::vector<double> m_capacity;
    std::vector<double> m_marginal;
    bool m_cancelled = false;
};

// The least capacity of the remaining branches for a number of steps, as the sum of kept capacities at an
// allocation whose exact total exceeds the exact least one by at most `slack`.
struct SuffixMin {
    double value = 0;
    double slack = 0;
    std::int32_t first = 0;  // the allocation's steps for the first of the remaining branches
};

// The allocation of m steps between two branches that takes the cheaper marginal step each time. If every step
// it took costs at most every step it left plus 2e (e bounding the errors of the computed marginal costs at
// the allocation's edges), any other allocation saves at most 2e per step moved, hence the slack.
class TwoBranchMin {
public:
    TwoBranchMin(const Branch& a, const Branch& b) : m_a(&a), m_b(&b) {}

    SuffixMin at(std::int32_t m) {
        std::int32_t x = std::clamp(m_x, 1, m - 1);
        // Whether the x-th step of the first branch is no dearer than the last step of the second it replaces.
        const auto takes = [&](std::int32_t y) { return y == 1 || m_a->marginal(y - 1) <= m_b->marginal(m - y); };
        while (!takes(x)) {
            --x;
        }
        while (x < m - 1 && takes(x + 1)) {
            ++x;
        }
        m_x = x;
        double e = std::max(MarginalError(m_a->marginal(x)), MarginalError(m_b->marginal(m - x)));
        if (x >= 2) {
            e = std::max(e, MarginalError(m_a->marginal(x - 1)));
        }
        if (m - x >= 2) {
            e = std::max(e, MarginalError(m_b->marginal(m - x - 1)));
        }
        const double value = m_a->capacity(x) + m_b->capacity(m - x);
        return {value, (m - 2) * 2 * e, x};
    }

private:
    const Branch* m_a;
    const Branch* m_b;
    std::int32_t m_x = 1;
};

// The same for three branches and a growing number of steps: one cheapest marginal step added at a time. The
// slack also covers how far, by the computed costs, a step left is cheaper than a step taken.
class ThreeBranchGreedy {
public:
    ThreeBranchGreedy(const Branch& a, const Branch& b, const Branch& c) : m_branch{&a, &b, &c} {
        for (std::size_t j = 0; j < 3; ++j) {
            m_next[j] = m_branch[j]->marginal(1);
        }
    }

    SuffixMin at(std::int32_t m) {  // m >= 3 and never below an earlier m
        while (m_m < m) {
            std::size_t j = 0;
            for (std::size_t q = 1; q < 3; ++q) {
                if (m_next[q] < m_next[j]) {
                    j = q;
                }
            }
            m_last[j] = m_next[j];
            ++m_x[j];
            m_next[j] = m_branch[j]->marginal(m_x[j]);
            ++m_m;
        }
        double e = 0;
        double excess = 0;
        for (std::size_t p = 0; p < 3; ++p) {
            e = std::max(e, MarginalError(m_next[p]));
            if (m_x[p] >= 2) {
                e = std::max(e, MarginalError(m_last[p]));
                for (std::size_t q = 0; q < 3; ++q) {
                    if (q != p) {
                        excess = std::max(excess, m_last[p] - m_next[q]);
                    }
                }
            }
        }
        double value = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            value += m_branch[j]->capacity(m_x[j]);
        }
        return {value, (m - 3) * (2 * e + excess), m_x[0]};
    }

private:
    std::array<const Branch*, 3> m_branch;
    std::array<std::int32_t, 3> m_x{1, 1, 1};
    std::array<double, 3> m_next{};
    std::array<double, 3> m_last{};
    std::int32_t m_m = 3;
};

// A choice at one level, with bounds on the exact least total below it. A bound that is not finite (sums of
// capacities near the double range) rules nothing out.
struct Entry {
    std::int32_t x = 0;
    double prefix = 0;  // kept capacities chosen so far, this level's included
    double value = 0;   // the least total below, as a double sum of kept capacities
    double lo = 0;
    double hi = 0;
    std::int32_t next = 0;  // where the next level's scan starts
};

bool Overflows(const SchemeInputs& in, std::size_t index, std::int32_t a) {
    try {
        BranchCapacity(in.phaseVoltage, in.currents[index], kFilterOrders[index], a);
        return false;
    } catch (const CalcFault&) {
        return true;
    }
}

class FastSearch {
public:
    FastSearch(const SchemeInputs& in, SearchControl* control) : m_in(in), m_control(control), m_n(in.steps) {
        for (std::size_t j = 0; j < 4; ++j) {
            if (in.currents[j] != 0) {
                m_active[static_cast<std::size_t>(m_r++)] = j;
            }
        }
    }

    SearchOutcome run() {
        SearchOutcome out;
        if (m_n <= 0 || m_r == 0) {
            return out;  // no scheme with steps; without currents nothing can overflow
        }
        // A capacity too large for a double stops the literal search at the first scheme that computes it.
        // The capacities fall as the steps grow, so each branch overflows for 1 to some T steps. All schemes
        // with N-1 steps in a3 come second in the loop order and give every other branch 0 or 1 step: an
        // overflow in the 5th, 7th or 11th branch stops the search there, before any admissible scheme. An
        // overflow in the 3rd stops it at a3 = T3, after every scheme with more steps in a3.
        for (std::size_t j = 1; j < 4; ++j) {
            if (m_in.currents[j] != 0 && Overflows(m_in, j, 1)) {
                out.fault = CalcFault::overflow();
                return out;
            }
        }
        std::int32_t t3 = 0;
        if (m_in.currents[0] != 0 && Overflows(m_in, 0, 1)) {
            if (Overflows(m_in, 0, m_n)) {
                out.fault = CalcFault::overflow();
                return out;
            }
            std::int32_t lo = 1;    // overflows
            std::int32_t hi = m_n;  // does not
            while (hi - lo > 1) {
                const std::int32_t mid = lo + (hi - lo) / 2;
                (Overflows(m_in, 0, mid) ? lo : hi) = mid;
            }
            t3 = lo;
        }
        m_firstOuter = m_active[0] == 0 ? t3 + 1 : 1;

        for (int p = 0; p < m_r; ++p) {
            const std::size_t j = m_active[static_cast<std::size_t>(p)];
            // A single branch takes all steps at once: nothing to tabulate.
            m_branch[static_cast<std::size_t>(p)] =
                Branch(m_in, j, j == 0 ? m_firstOuter : 1, m_r == 1 ? 0 : m_n, m_control);
            if (m_branch[static_cast<std::size_t>(p)].cancelled()) {
                out.cancelled = true;
                return out;
            }
        }
        if (m_r == 4) {
            m_greedy.emplace(m_branch[1], m_branch[2], m_branch[3]);
            m_pair[1].emplace(m_branch[2], m_branch[3]);
        } else if (m_r == 3) {
            m_pair[0].emplace(m_branch[1], m_branch[2]);
        }

        outerLevel();
        if (m_cancelled) {
            out.cancelled = true;
            return out;
        }
        out.chain = std::move(m_chain);
        if (t3 >= 1) {
            out.fault = CalcFault::overflow();
        }
        return out;
    }

private:
    bool isLast(int level) const { return level == m_r - 2; }

    Entry evaluate(int level, std::int32_t budget, double prefix, std::int32_t x) {
        Entry e;
        e.x = x;
        e.prefix = prefix + m_branch[static_cast<std::size_t>(level)].capacity(x);
        if (isLast(level)) {
            e.value = e.prefix + m_branch[static_cast<std::size_t>(m_r - 1)].capacity(budget - x);
            e.lo = e.value * (1 - kRel);
            e.hi = e.value * (1 + kRel);
            return e;
        }
        const SuffixMin rest =
            m_r - 1 - level == 3 ? m_greedy->at(budget - x) : m_pair[static_cast<std::size_t>(level)]->at(budget - x);
        e.value = e.prefix + rest.value;
        e.lo = e.value * (1 - kRel) - rest.slack;
        e.hi = e.value * (1 + kRel);
        e.next = rest.first;
        return e;
    }

    // Whether the schemes below an entry may improve the best ratio.
    bool mayImprove(const Entry& e) const { return !(std::isfinite(e.lo) && e.lo >= m_threshold); }

    // exact: the kept capacities of the levels above, added in extended precision in loop order, exactly as
    // the literal search adds them.
    void process(int level, std::int32_t budget, const Entry& e, Ext exact) {
        m_steps[m_active[static_cast<std::size_t>(level)]] = e.x;
        const Ext prefix = exact + m_branch[static_cast<std::size_t>(level)].capacity(e.x);
        if (isLast(level)) {
            m_steps[m_active[static_cast<std::size_t>(m_r - 1)]] = budget - e.x;
            offer(prefix + m_branch[static_cast<std::size_t>(m_r - 1)].capacity(budget - e.x), e.value);
        } else {
            innerLevel(level + 1, budget - e.x, e.prefix, prefix, e.next);
        }
    }

    // The literal search's comparison, on its exact total. Only a smaller total can give a greater ratio.
    // approximate: the same total as a double sum, for the threshold.
    void offer(Ext total, double approximate) {
        if (!m_rated || total < m_bestTotal) {
            const double r = SchemeRatio(m_n, total);
            if (r > m_bestRatio) {
                m_rated = true;
                m_bestRatio = r;
                m_bestTotal = total;
                m_threshold = approximate * (1 + kRel);
                m_chain.push_back({r, m_steps});
            }
        }
    }

    // The outermost level, every choice in loop order, each tested on its bound.
    void outerLevel() {
        if (m_r == 1) {
            m_steps[m_active[0]] = m_n;
            const double total = m_branch[0].capacity(m_n);
            offer(total, total);
            return;
        }
        const std::int32_t lo = m_firstOuter;
        const std::int32_t hi = m_n - (m_r - 1);
        if (hi < lo) {
            return;
        }
        const bool descending = m_active[0] == 0;  // a3 runs down
        const std::int64_t count = std::int64_t{hi} - lo + 1;
        for (std::int64_t i = 0; i < count; ++i) {
            if (m_control != nullptr && (i & 63) == 0) {
                if (m_control->cancelRequested()) {
                    m_cancelled = true;
                    return;
                }
                m_control->setProgressPermille(static_cast<int>(i * 1000 / count));
            }
            const auto x = static_cast<std::int32_t>(descending ? hi - i : lo + i);
            const Entry e = evaluate(0, m_n, 0, x);
            if (mayImprove(e)) {
                process(0, m_n, e, 0);
            }
        }
    }

    // An inner level: its choices run up from 1. The run of choices that may improve is found by scanning out
    // from a point near the bound's minimum; each side stops at a choice whose bound is at or above the
    // threshold and certainly above its neighbour's towards the start, since a convex bound only rises
    // beyond it. The left side is scanned first, against the threshold at entry; the right side is scanned
    // while the choices are taken in order, against the threshold as it falls.
    void innerLevel(int level, std::int32_t budget, double prefix, Ext exact, std::int32_t seed) {
        std::int32_t lo = 1;
        const std::int32_t hi = budget - (m_r - 1 - level);
        if (hi < lo) {
            return;
        }
        if (!m_rated) {
            // Nothing rated yet: the first scheme in order becomes the best, whatever it is.
            process(level, budget, evaluate(level, budget, prefix, lo), exact);
            if (++lo > hi) {
                return;
            }
        }
        const auto beyond = [this](const Entry& e, const Entry& inner) {
            return std::isfinite(e.lo) && e.lo >= m_threshold && e.lo > inner.hi;
        };
        const std::int32_t start = std::clamp(seed, lo, hi);
        std::vector<Entry>& left = m_run[static_cast<std::size_t>(level)];  // from the start down
        left.clear();
        left.push_back(evaluate(level, budget, prefix, start));
        for (std::int32_t x = start - 1; x >= lo; --x) {
            const Entry e = evaluate(level, budget, prefix, x);
            if (beyond(e, left.back())) {
                break;
            }
            left.push_back(e);
        }
        Entry inner = left.front();
        for (auto e = left.rbegin(); e != left.rend(); ++e) {
            if (mayImprove(*e)) {
                process(level, budget, *e, exact);
            }
        }
        for (std::int32_t x = start + 1; x <= hi; ++x) {
            const Entry e = evaluate(level, budget, prefix, x);
            if (beyond(e, inner)) {
                break;
            }
            if (mayImprove(e)) {
                process(level, budget, e, exact);
            }
            inner = e;
        }
    }

    const SchemeInputs& m_in;
    SearchControl* m_control;
    std::int32_t m_n;
    int m_r = 0;                            // branches with a current
    std::array<std::size_t, 4> m_active{};  // their indices in kFilterOrders, in loop order
    std::array<Branch, 4> m_branch;         // by position in m_active
    std::int32_t m_firstOuter = 1;          // the fewest steps the outermost level may take
    std::optional<ThreeBranchGreedy> m_greedy;
    std::array<std::optional<TwoBranchMin>, 4> m_pair;  // by level
    std::array<std::vector<Entry>, 4> m_run;            // by level
    Steps m_steps{};
    double m_bestRatio = 0;
    bool m_rated = false;  // a best scheme exists
    Ext m_bestTotal = 0;
    double m_threshold = kInfinity;  // a total at or above it cannot improve, with room for rounding
    ImprovementChain m_chain;
    bool m_cancelled = false;
};

}  // namespace

std::uint64_t LeastImprovementCount(const SchemeInputs& in) {
    // The cheapest raise among the other branches with a current.
    double cheapest = 0;
    int others = 0;
    for (std::size_t j = 1; j < kFilterOrders.size(); ++j) {
        if (in.currents[j] != 0) {
            const double h = kFilterOrders[j];
            cheapest = others++ == 0 ? h * h / (h * h - 1) : std::min(cheapest, h * h / (h * h - 1));
        }
    }
    if (in.currents[0] == 0 || others == 0 || in.steps <= others) {
        return 0;
    }
    // A branch whose capacity overflows stops the search before its first line.
    for (std::size_t j = 1; j < kFilterOrders.size(); ++j) {
        if (in.currents[j] != 0 && Overflows(in, j, 1)) {
            return 0;
        }
    }
    // Giving up the a-th step of the 3rd branch saves its marginal cost k3 (1000 - C3 / (3000 a (a - 1))) var,
    // taking one more step in another branch costs less than 1000 k var. With half of the difference k3 - k to
    // spare, so that the roundings of the totals cannot hide the fall: a (a - 1) >= 2 k3 C3 / (3e6 (k3 - k)).
    constexpr double k3 = 9.0 / 8.0;
    const double ui = in.phaseVoltage * in.currents[0];
    const double least = 2 * k3 * (ui * ui) / (3e6 * (k3 - cheapest));
    // The 3rd branch's steps run from N - others down; those from `from` up each add a line.
    const double most = static_cast<double>(in.steps - others);
    const double from = std::max(2.0, std::ceil((1 + std::sqrt(1 + 4 * least)) / 2));
    return from > most ? 0 : static_cast<std::uint64_t>(most - from) + 1;
}

SearchOutcome SchemeSearch(const SchemeInputs& inputs, SearchControl* control) {
    SetArithmeticMode();  // the search may run on a thread of its own
    return FastSearch(inputs, control).run();
}

}  // namespace hcalc
