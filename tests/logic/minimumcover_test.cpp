#include "minimumcover.h"
#include "primeimplicants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <random>

namespace {
// A one-output column of 2^n cells from a function of the row number.
std::vector<int32_t> ColumnOf(int32_t n, const std::function<int32_t(uint32_t)>& f)
{
    std::vector<int32_t> column(std::size_t{1} << n);
    for (uint32_t r = 0; r < column.size(); ++r)
        column[r] = f(r);
    return column;
}

// The cover is a sum of products that reproduces every cared-for cell.
void ExpectCoverMatches(const std::vector<int32_t>& column, const OutputCover& cover)
{
    for (uint32_t r = 0; r < column.size(); ++r) {
        const bool on = std::any_of(cover.terms.begin(), cover.terms.end(), [r](const Cube& c) { return c.Covers(r); });
        if (column[r] == 1) {
            EXPECT_TRUE(on) << "row " << r;
        } else if (column[r] != DontCare) {
            EXPECT_FALSE(on) << "row " << r;
        }
    }
    EXPECT_LE(cover.lowerBound, cover.Terms());
}

int32_t ExactTerms(const std::vector<int32_t>& column, int32_t n)
{
    const OutputCover cover = MinimumOutputCover(column, n, {});
    ExpectCoverMatches(column, cover);
    EXPECT_TRUE(cover.Exact());
    return cover.Terms();
}

// The least number of cubes covering the on-set without touching the
// off-set, by breadth-first search over the sets of on-set rows covered,
// trying every cube that avoids the off-set (not just the primes).
int32_t ExhaustiveTerms(const std::vector<int32_t>& column, int32_t n)
{
    std::vector<uint32_t> onRows;
    for (uint32_t r = 0; r < column.size(); ++r)
        if (column[r] == 1)
            onRows.push_back(r);
    std::vector<uint32_t> cubeMasks;
    const uint32_t all = (1u << n) - 1;
    for (uint32_t care = 0; care <= all; ++care) {
        for (uint32_t value = care;; value = (value - 1) & care) {
            const Cube cube{static_cast<uint16_t>(care), static_cast<uint16_t>(value)};
            bool clean = true;
            uint32_t mask = 0;
            for (uint32_t r = 0; r < column.size(); ++r)
                if (cube.Covers(r))
                    clean = clean && (column[r] == 1 || column[r] == DontCare);
            for (std::size_t k = 0; k < onRows.size(); ++k)
                if (cube.Covers(onRows[k]))
                    mask |= 1u << k;
            if (clean && mask)
                cubeMasks.push_back(mask);
            if (value == 0)
                break;
        }
    }
    const uint32_t goal = static_cast<uint32_t>((uint64_t{1} << onRows.size()) - 1);
    std::vector<int32_t> distance(std::size_t{goal} + 1, -1);
    std::vector<uint32_t> frontier{0};
    distance[0] = 0;
    for (std::size_t k = 0; k < frontier.size(); ++k) {
        const uint32_t mask = frontier[k];
        if (mask == goal)
            return distance[mask];
        for (uint32_t cube : cubeMasks) {
            const uint32_t next = mask | cube;
            if (distance[next] < 0) {
                distance[next] = distance[mask] + 1;
                frontier.push_back(next);
            }
        }
    }
    return -1;
}

int64_t Binomial(int n, int k)
{
    int64_t value = 1;
    for (int i = 1; i <= k; ++i)
        value = value * (n - k + i) / i;
    return value;
}
} // namespace

TEST(MinimumCover, ParityNeedsHalfOfAllRows)
{
    for (int32_t n = 1; n <= 10; ++n) {
        const auto odd = ColumnOf(n, [](uint32_t r) { return std::popcount(r) % 2; });
        const auto even = ColumnOf(n, [](uint32_t r) { return 1 - std::popcount(r) % 2; });
        EXPECT_EQ(ExactTerms(odd, n), 1 << (n - 1)) << n << " inputs";
        EXPECT_EQ(ExactTerms(even, n), 1 << (n - 1)) << n << " inputs";
    }
}

TEST(MinimumCover, SixInputMultiplexerNeedsFour)
{
    // Inputs 0 and 1 select one of the data inputs 2..5.
    const auto mux = ColumnOf(6, [](uint32_t r) {
        const uint32_t select = r >> 4;
        return static_cast<int32_t>((r >> (3 - select)) & 1);
    });
    EXPECT_EQ(ExactTerms(mux, 6), 4);
}

TEST(MinimumCover, MajorityNeedsOneTermPerSmallestMajority)
{
    for (int k = 0; k <= 4; ++k) {
        const int32_t n = 2 * k + 1;
        const auto majority = ColumnOf(n, [k](uint32_t r) { return std::popcount(r) > k ? 1 : 0; });
        EXPECT_EQ(ExactTerms(majority, n), Binomial(n, k + 1)) << n << " inputs";
    }
}

TEST(MinimumCover, ConstantAndFreeOutputs)
{
    EXPECT_EQ(ExactTerms(ColumnOf(10, [](uint32_t) { return DontCare; }), 10), 0);
    EXPECT_EQ(ExactTerms(ColumnOf(10, [](uint32_t) { return 0; }), 10), 0);
    const auto ones = ColumnOf(10, [](uint32_t r) { return r == 5 ? DontCare : 1; });
    const OutputCover cover = MinimumOutputCover(ones, 10, {});
    ASSERT_EQ(cover.Terms(), 1);
    EXPECT_EQ(cover.terms[0], Cube{}) << "one term testing nothing";
    // One on-set row among don't-cares: the whole space is one term.
    EXPECT_EQ(ExactTerms(ColumnOf(4, [](uint32_t r) { return r == 9 ? 1 : DontCare; }), 4), 1);
}

TEST(MinimumCover, RandomSmallTablesAgreeWithExhaustiveSearch)
{
    std::mt19937 random(2024);
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t n = 1 + trial % 4;
        const auto column = ColumnOf(n, [&](uint32_t) {
            const uint32_t draw = random() % 8;
            return draw < 3 ? 1 : draw < 6 ? 0 : DontCare;
        });
        EXPECT_EQ(ExactTerms(column, n), ExhaustiveTerms(column, n)) << "trial " << trial;
    }
}

TEST(MinimumCover, PrimeImplicantsOfAKnownFunction)
{
    // f(a, b, c) = a'b' + bc with row 7 free: primes a'b', a'c, bc... listed
    // by ternary code; check them as text.
    const std::vector<int32_t> column{1, 1, 0, 1, 0, 0, 0, DontCare};
    std::vector<std::string> texts;
    for (const Cube& cube : PrimeImplicants(column, 3))
        texts.push_back(CubeText(cube, 3));
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"-11", "0-1", "00-"}));
}

TEST(MinimumCover, ABudgetGivesAValidCoverAndAProvenBound)
{
    // A random 10-input function with don't-cares: the budget of one node
    // stops the proof early.
    std::mt19937 random(7);
    const auto column = ColumnOf(10, [&](uint32_t) {
        const uint32_t draw = random() % 4;
        return draw < 2 ? static_cast<int32_t>(draw) : draw == 2 ? 1 : DontCare;
    });
    const OutputCover full = MinimumOutputCover(column, 10, {});
    CoverLimits tight;
    tight.nodeBudget = 1;
    const OutputCover bounded = MinimumOutputCover(column, 10, tight);
    ExpectCoverMatches(column, full);
    ExpectCoverMatches(column, bounded);
    EXPECT_TRUE(full.Exact());
    EXPECT_LE(bounded.lowerBound, full.Terms());
    EXPECT_GE(bounded.Terms(), full.Terms());
    EXPECT_LE(bounded.nodes, 1u);
}

TEST(MinimumCover, ACancelledTableSaysSo)
{
    std::atomic<bool> cancel{true};
    CoverLimits limits;
    limits.cancel = &cancel;
    const TableCover cover = MinimumTableCover(TruthTable(1024 * 3, 1), 10, 3, limits);
    EXPECT_TRUE(cover.cancelled);
    EXPECT_LT(cover.outputs.size(), 3u);
}

TEST(MinimumCover, TableTextGivesEveryOutput)
{
    // Output 0: parity of 3 inputs (4 terms); output 1: input 0 (1 term);
    // output 2: all don't care (0 terms).
    TruthTable cells;
    for (uint32_t r = 0; r < 8; ++r) {
        cells.push_back(std::popcount(r) % 2);
        cells.push_back(static_cast<int32_t>(r >> 2));
        cells.push_back(DontCare);
    }
    const TableCover cover = MinimumTableCover(cells, 3, 3, {});
    EXPECT_TRUE(cover.Exact());
    EXPECT_EQ(cover.LowerBound(), 4);
    EXPECT_EQ(DescribeTableCover(cover), "Needs at least 4 AND terms: output 0 needs 4, output 1 needs 1, output 2 needs 0.");

    TableCover open;
    open.outputs.resize(2);
    open.outputs[0].terms.resize(19);
    open.outputs[0].lowerBound = 17;
    open.outputs[1].terms.resize(1);
    open.outputs[1].lowerBound = 1;
    EXPECT_EQ(DescribeTableCover(open), "Needs between 17 and 19 AND terms: output 0 needs between 17 and 19, output 1 needs 1.");
    open.outputs.resize(1);
    open.outputs[0].terms.resize(1);
    open.outputs[0].lowerBound = 1;
    EXPECT_EQ(DescribeTableCover(open), "Needs at least 1 AND term: output 0 needs 1.");
}

TEST(SetCover, CyclicCoreAndInfeasibleRows)
{
    // Five rows in a ring, each column covers two neighbours: 3 columns.
    std::vector<std::vector<int32_t>> ring;
    for (int32_t r = 0; r < 5; ++r)
        ring.push_back({r, (r + 1) % 5});
    const CoverResult cover = MinimumCover(5, ring);
    EXPECT_TRUE(cover.Exact());
    EXPECT_EQ(cover.columns.size(), 3u);

    const CoverResult none = MinimumCover(3, {{0}, {1}});
    EXPECT_FALSE(none.feasible);
    EXPECT_FALSE(none.Exact());
}
