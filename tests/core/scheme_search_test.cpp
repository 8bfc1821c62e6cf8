#include "core/scheme_search.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

namespace hcalc {
namespace {

std::string Describe(const SchemeInputs& in) {
    std::ostringstream out;
    out.precision(17);
    out << "N=" << in.steps << " U=" << in.phaseVoltage << " I=" << in.currents[0] << ", " << in.currents[1] << ", "
        << in.currents[2] << ", " << in.currents[3];
    return out.str();
}

// The page's search against the literal one: the same lines, ratios bit for bit, and the same fault.
void ExpectSameOutcome(const SchemeInputs& in) {
    SCOPED_TRACE(Describe(in));
    const SearchOutcome fast = SchemeSearch(in);
    const SearchOutcome literal = LiteralSchemeSearch(in);
    ASSERT_FALSE(fast.cancelled);
    ASSERT_EQ(fast.chain.size(), literal.chain.size());
    for (std::size_t i = 0; i < literal.chain.size(); ++i) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(fast.chain[i].ratio),
                  std::bit_cast<std::uint64_t>(literal.chain[i].ratio))
            << "line " << i;
        ASSERT_EQ(fast.chain[i].steps, literal.chain[i].steps) << "line " << i;
    }
    ASSERT_EQ(fast.fault.has_value(), literal.fault.has_value());
    if (literal.fault) {
        EXPECT_EQ(fast.fault->message(), literal.fault->message());
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.bestRatio()), std::bit_cast<std::uint64_t>(literal.bestRatio()));
    EXPECT_EQ(fast.bestSteps(), literal.bestSteps());
    EXPECT_LE(LeastImprovementCount(in), literal.chain.size());  // the bound known before a search holds
}

// Random sites: currents zero, tiny, ordinary or huge, of either sign; voltages from 0 to 1e4, some huge enough
// for a capacity to overflow a double at few steps only.
class RandomSites {
public:
    explicit RandomSites(std::uint64_t seed) : m_rng(seed) {}

    SchemeInputs next(int maxSteps) {
        SchemeInputs in;
        in.steps = std::uniform_int_distribution<int>(-3, maxSteps)(m_rng);
        const double p = uniform();
        in.phaseVoltage = p < 0.1 ? 0 : p < 0.2 ? std::pow(10.0, 100 + 200 * uniform()) : 1e4 * uniform();
        for (double& i : in.currents) {
            i = current();
        }
        if (uniform() < 0.1 && in.steps > 4) {
            // A 3rd harmonic current whose capacity overflows a double for up to about t steps only.
            const double t = 1 + (in.steps - 1) * uniform();
            in.phaseVoltage = 1 + 1e4 * uniform();
            in.currents[0] = std::sqrt(1.7976931348623157e308) * std::sqrt(8.0 / 9 * 3000 * t) / in.phaseVoltage;
        }
        return in;
    }

private:
    double uniform() { return std::uniform_real_distribution<double>(0, 1)(m_rng); }
    double current() {
        const double p = uniform();
        const double sign = uniform() < 0.2 ? -1 : 1;
        if (p < 0.25) {
            return 0;
        }
        if (p < 0.35) {
            return sign * std::pow(10.0, -300 + 290 * uniform());
        }
        if (p < 0.45) {
            return sign * std::pow(10.0, 100 + 208 * uniform());
        }
        return sign * std::pow(10.0, -1 + 4 * uniform());
    }

    std::mt19937_64 m_rng;
};

TEST(SchemeSearch, matchesTheLiteralSearchOnThousandsOfRandomSites) {
    RandomSites sites(20240611);
    int faulted = 0;
    int faultedAfterLines = 0;
    int longChains = 0;
    for (int c = 0; c < 3000; ++c) {
        const SchemeInputs in = sites.next(c % 100 == 0 ? 200 : 45);
        ExpectSameOutcome(in);
        if (HasFatalFailure()) {
            return;
        }
        const SearchOutcome outcome = SchemeSearch(in);
        faulted += outcome.fault.has_value();
        faultedAfterLines += outcome.fault.has_value() && !outcome.chain.empty();
        longChains += outcome.chain.size() >= 20;
    }
    // The sample reaches every kind of ending.
    EXPECT_GT(faulted, 100);
    EXPECT_GT(faultedAfterLines, 10);
    EXPECT_GT(longChains, 200);
}

TEST(SchemeSearch, matchesTheLiteralSearchForLargerStepCounts) {
    // clang-format off
    const SchemeInputs cases[] = {
        {200, 230,    {10, 40, 25, 10}},
        {170, 400,    {0, 35, 12, 3}},
        {160, 220,    {7, 0, 0, 9}},
        {150, 0,      {1, -2, 3, 4}},
        {140, 1e4,    {4.9e152, 10, 10, 10}},   // S3 overflows for a3 up to about 50
        {120, 380,    {1e-200, 1e-200, 1e-200, 1e-200}},
    };
    // clang-format on
    for (const SchemeInputs& in : cases) {
        ExpectSameOutcome(in);
    }
}

TEST(SchemeSearch, overflowOfTheThirdBranchStopsAfterTheLinesOfMoreSteps) {
    const SchemeInputs in{120, 1e4, {4.9e152, 10, 10, 10}};
    const SearchOutcome outcome = SchemeSearch(in);
    ASSERT_TRUE(outcome.fault.has_value());
    EXPECT_EQ(outcome.fault->message(), QStringLiteral("Floating point overflow"));
    ASSERT_FALSE(outcome.chain.empty());
    // The capacity of the 3rd branch overflows for 1 to t3 steps; schemes are visited with a3 running down, so
    // every line has more steps in a3.
    std::int32_t t3 = 0;
    while (true) {
        try {
            BranchCapacity(in.phaseVoltage, in.currents[0], 3, t3 + 1);
            break;
        } catch (const CalcFault&) {
            ++t3;
        }
    }
    EXPECT_GT(t3, 10);
    EXPECT_LT(t3, 100);
    for (std::size_t i = 0; i < outcome.chain.size(); ++i) {
        EXPECT_GT(outcome.chain[i].steps[0], t3);
    }
    ExpectSameOutcome(in);
}

TEST(SchemeSearch, overflowOfAnotherBranchStopsBeforeAnyLine) {
    for (std::size_t j = 1; j < 4; ++j) {
        SchemeInputs in{30, 1e4, {10, 10, 10, 10}};
        in.currents[j] = 1e160;
        const SearchOutcome outcome = SchemeSearch(in);
        EXPECT_TRUE(outcome.chain.empty());
        ASSERT_TRUE(outcome.fault.has_value());
        EXPECT_EQ(outcome.fault->message(), QStringLiteral("Floating point overflow"));
        ExpectSameOutcome(in);
    }
}

TEST(SchemeSearch, findsTheWorkedExamplesChains) {
    const SearchOutcome two = SchemeSearch({10, 220, {0, 20, 10, 0}});
    ASSERT_EQ(two.chain.size(), 7u);
    for (std::int32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(two.chain[static_cast<std::size_t>(i)].steps, (std::array<std::int32_t, 4>{0, i + 1, 9 - i, 0}));
    }
    EXPECT_NEAR(two.chain[0].ratio, 0.6973, 5e-5);
    EXPECT_NEAR(two.bestRatio(), 0.8956, 5e-5);

    const SearchOutcome four = SchemeSearch({10, 220, {10, 20, 10, 5}});
    ASSERT_EQ(four.chain.size(), 12u);
    EXPECT_EQ(four.chain[0].steps, (std::array<std::int32_t, 4>{7, 1, 1, 1}));
    EXPECT_EQ(four.bestSteps(), (std::array<std::int32_t, 4>{3, 4, 2, 1}));
    EXPECT_NEAR(four.bestRatio(), 0.7893, 5e-5);
}

TEST(SchemeSearch, givesNoLineWithoutAnAdmissibleScheme) {
    // clang-format off
    const SchemeInputs cases[] = {
        {3,  230, {1, 2, 3, 4}},     // four branches need four steps
        {0,  230, {1, 2, 3, 4}},     // the all-zero scheme is not rated
        {0,  230, {0, 0, 0, 0}},
        {-1, 230, {1, 2, 3, 4}},     // no scheme at all
        {50, 230, {0, 0, 0, 0}},     // nothing to filter
        {1,  230, {0, 5, 5, 0}},
    };
    // clang-format on
    for (const SchemeInputs& in : cases) {
        SCOPED_TRACE(Describe(in));
        const SearchOutcome outcome = SchemeSearch(in);
        EXPECT_TRUE(outcome.chain.empty());
        EXPECT_FALSE(outcome.fault.has_value());
        EXPECT_EQ(outcome.bestRatio(), 0);
        EXPECT_EQ(outcome.bestSteps(), (std::array<std::int32_t, 4>{}));
        ExpectSameOutcome(in);
    }
}

TEST(SchemeSearch, aNegativeCurrentCountsAsNonzeroAndOnlyItsSquareMatters) {
    const SearchOutcome positive = SchemeSearch({40, 230, {3, 8, 5, 2}});
    const SearchOutcome negative = SchemeSearch({40, 230, {-3, 8, -5, 2}});
    EXPECT_FALSE(positive.chain.empty());
    EXPECT_EQ(positive.chain, negative.chain);
}

TEST(SchemeSearch, stopsWhenCancelled) {
    SearchControl control;
    control.requestCancel();
    const SearchOutcome outcome = SchemeSearch({100000, 230, {10, 40, 25, 10}}, &control);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.chain.empty());
}

// The fewest lines known before a search: a line for nearly every step of the 3rd branch where that branch
// and another one are built, never more than the search lists.
TEST(LeastImprovementCount, isCloseToOneLinePerStepOfTheThirdBranch) {
    struct Case {
        SchemeInputs in;
        std::uint64_t atLeast;
    };
    // clang-format off
    const Case cases[] = {
        {{3000, 230, {10, 40, 25, 10}},  2985},  // the worked example's site: from 7 steps of the 3rd branch up
        {{3000, 230, {400, 40, 25, 10}}, 2700},  // a large 3rd current: from some 240 steps up
        {{3000, 230, {0, 40, 25, 10}},   0},     // no 3rd branch
        {{3000, 230, {10, 0, 0, 0}},     0},     // the 3rd branch alone
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.in));
        const std::uint64_t bound = LeastImprovementCount(c.in);
        EXPECT_GE(bound, c.atLeast);
        EXPECT_LE(bound, SchemeSearch(c.in).chain.size());
    }
    // The largest total: some 700 million lines, more than 15 GiB.
    EXPECT_GT(ImprovementChain::BytesFor(LeastImprovementCount({715827882, 230, {10, 40, 25, 10}})), 15ull << 30);
}

TEST(SchemeSearch, longChainsGrowByAboutThirtyEightLinesPerStep) {
    SearchControl control;
    const SearchOutcome outcome = SchemeSearch({3000, 230, {10, 40, 25, 10}}, &control);
    EXPECT_GT(outcome.chain.size(), 36u * 3000);
    EXPECT_LT(outcome.chain.size(), 40u * 3000);
    EXPECT_EQ(control.progressPermille() / 100, 9);  // the progress reached the last tenth
    for (std::size_t i = 1; i < outcome.chain.size(); ++i) {
        ASSERT_GT(outcome.chain[i].ratio, outcome.chain[i - 1].ratio);
    }
}

}  // namespace
// A chain larger than its memory budget stops the search instead of having
// the process killed.
TEST(ImprovementChain, stopsAtItsMemoryBudget) {
    const std::size_t blocks = 2;
    ImprovementChain chain(blocks * ImprovementChain::kBlock * sizeof(Improvement));
    for (std::size_t i = 0; i < blocks * ImprovementChain::kBlock; ++i) {
        chain.push_back({static_cast<double>(i), {1, 2, 3, 4}});
    }
    EXPECT_EQ(chain.size(), blocks * ImprovementChain::kBlock);
    EXPECT_THROW(chain.push_back({0.5, {1, 1, 1, 1}}), std::bad_alloc);
    EXPECT_EQ(chain.size(), blocks * ImprovementChain::kBlock);
    EXPECT_EQ(chain.back().ratio, static_cast<double>(blocks * ImprovementChain::kBlock - 1));
}

}  // namespace hcalc
