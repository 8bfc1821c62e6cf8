#pragma once

#include "core/fault.h"
#include "core/filter_orders.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace hcalc {

// What the sharing search is given.
struct SchemeInputs {
    std::int32_t steps = 0;            // N, steps of 1000 var per phase (3 kvar for the three phases)
    double phaseVoltage = 0;           // U, V
    std::array<double, 4> currents{};  // I3, I5, I7, I11, A; zero means the branch is not built
};

// A scheme that improved on the best ratio found before it: one line of the list.
struct Improvement {
    double ratio = 0;                     // Q总/S总
    std::array<std::int32_t, 4> steps{};  // a3, a5, a7, a11

    friend bool operator==(const Improvement&, const Improvement&) = default;
};

// The chain of improvements, kept in blocks, so that a long chain grows without moving what it holds.
class ImprovementChain {
public:
    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    // A chain may take at most half the machine's memory: beyond that it would
    // have the process killed, so it stops the search with std::bad_alloc.
    explicit ImprovementChain(std::size_t budgetBytes = DefaultBudgetBytes()) : m_budgetBytes(budgetBytes) {}

    // Half the machine's physical memory (no limit where the system does not tell it).
    static std::size_t DefaultBudgetBytes();
    // The memory that a chain of so many lines takes: whole blocks of lines.
    static std::uint64_t BytesFor(std::uint64_t lines);

    void push_back(const Improvement& line) {
        if (m_size % kBlock == 0) {
            reserveBlock();
        }
        m_blocks.back().push_back(line);
        ++m_size;
    }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const Improvement& operator[](std::size_t i) const { return m_blocks[i / kBlock][i % kBlock]; }
    const Improvement& back() const { return m_blocks.back().back(); }
    std::vector<Improvement> toVector() const;

    friend bool operator==(const ImprovementChain& a, const ImprovementChain& b) { return a.m_blocks == b.m_blocks; }

private:
    void reserveBlock();

    std::vector<std::vector<Improvement>> m_blocks;
    std::size_t m_size = 0;
    std::size_t m_budgetBytes;
};

// What a search ends with: the chain of improvements in search order (the last one is the best scheme) and
// the fault that stopped it, if any, after the improvements found before the faulting scheme.
struct SearchOutcome {
    ImprovementChain chain;
    std::optional<CalcFault> fault;
    bool cancelled = false;  // stopped on request; chain and fault then mean nothing

    double bestRatio() const { return chain.empty() ? 0.0 : chain.back().ratio; }
    std::array<std::int32_t, 4> bestSteps() const {
        return chain.empty() ? std::array<std::int32_t, 4>{} : chain.back().steps;
    }
};

// Lets another thread follow a running search and ask it to stop.
class SearchControl {
public:
    void requestCancel() { m_cancel.store(true, std::memory_order_relaxed); }
    bool cancelRequested() const { return m_cancel.load(std::memory_order_relaxed); }
    // Share of the outer loop done, in thousandths.
    int progressPermille() const { return m_permille.load(std::memory_order_relaxed); }
    void setProgressPermille(int permille) { m_permille.store(permille, std::memory_order_relaxed); }

private:
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_permille{0};
};

// BranchCapacityVa (sharing.h) kept as a double, as the search compares the capacities: overflow when it is
// too large for a double.
double BranchCapacity(double phaseVoltage, double current, int h, std::int32_t a);

// The exhaustive search exactly as the sharing rule reads: every scheme visited in loop order (a3 from N down,
// a5 up, a7 up), every capacity (once per branch and step count) and ratio computed, the best replaced only on
// a strictly greater ratio. It visits (N+1)(N+2)(N+3)/6 schemes; it is the reference the fast search is
// checked against.
SearchOutcome LiteralSchemeSearch(const SchemeInputs& inputs);

// The fewest lines a search of these inputs lists, known before it runs. While the 3rd branch keeps enough
// steps, each step it gives up to the others lowers the least total of the schemes that keep the rest, by at
// least 1000 (k3 - k) var for the cheapest other branch k (k3 = 9/8 is the highest raise); so, in the loop
// order, every such count of steps of the 3rd branch improves the best ratio at least once. 0 without a 3rd
// branch or without another one, or where a capacity overflows.
std::uint64_t LeastImprovementCount(const SchemeInputs& inputs);

// The search the page runs: the same chain, best scheme and fault as LiteralSchemeSearch, bit for bit, found
// without visiting the schemes that provably cannot improve the best ratio.
SearchOutcome SchemeSearch(const SchemeInputs& inputs, SearchControl* control = nullptr);

}  // namespace hcalc
