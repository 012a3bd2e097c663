// The exact minimum of AND terms of one output, on the hardest functions of 8
// and 10 inputs found by a search over random and symmetric functions (see
// the README): dense random functions with and without don't-cares, and
// symmetric functions, whose covering problems are highly cyclic. Functions
// the search cannot prove within minutes run with a node budget; their
// counters show the gap left (terms found, lower bound proven).
#include "minimumcover.h"
#include "primeimplicants.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

namespace {
// A random function: each cell don't care with probability dc%, else 1 with
// probability on%.
std::vector<int32_t> RandomFunction(int32_t n, int on, int dc, int seed)
{
    std::mt19937 random(static_cast<uint32_t>(seed * 1000 + on * 7 + dc));
    std::vector<int32_t> column(std::size_t{1} << n);
    for (int32_t& cell : column) {
        const int draw = static_cast<int>(random() % 100);
        cell = draw < dc ? DontCare : static_cast<int32_t>(static_cast<int>(random() % 100) < on);
    }
    return column;
}

// 1 where the number of inputs at 1 lies in [low, high].
std::vector<int32_t> SymmetricFunction(int32_t n, int low, int high)
{
    std::vector<int32_t> column(std::size_t{1} << n);
    for (uint32_t r = 0; r < column.size(); ++r) {
        const int ones = std::popcount(r);
        column[r] = ones >= low && ones <= high ? 1 : 0;
    }
    return column;
}

// 1 where an odd number of inputs is at 1: 2^(n-1) terms, all essential.
std::vector<int32_t> ParityFunction(int32_t n)
{
    std::vector<int32_t> column(std::size_t{1} << n);
    for (uint32_t r = 0; r < column.size(); ++r)
        column[r] = std::popcount(r) % 2;
    return column;
}

void MinimumCover(benchmark::State& state, std::vector<int32_t> column, int32_t n, uint64_t nodeBudget)
{
    CoverLimits limits;
    limits.nodeBudget = nodeBudget;
    OutputCover cover;
    for (auto _ : state) {
        cover = MinimumOutputCover(column, n, limits);
        benchmark::DoNotOptimize(cover.terms.data());
    }
    state.counters["primes"] = static_cast<double>(PrimeImplicants(column, n).size());
    state.counters["terms"] = cover.Terms();
    state.counters["bound"] = cover.lowerBound;
    state.counters["nodes"] = static_cast<double>(cover.nodes);
}

// Proven minimum (no budget).
BENCHMARK_CAPTURE(MinimumCover, in8_random_on50, RandomFunction(8, 50, 0, 1), 8, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in8_random_on65_dc20, RandomFunction(8, 65, 20, 2), 8, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_parity, ParityFunction(10), 10, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_random_on50_dc20, RandomFunction(10, 50, 20, 0), 10, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_random_on65_dc20, RandomFunction(10, 65, 20, 2), 10, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_random_on65_dc40, RandomFunction(10, 65, 40, 0), 10, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_symmetric_3to6, SymmetricFunction(10, 3, 6), 10, 0)->Unit(benchmark::kMillisecond);

// Not proven within minutes: 2,000 search nodes each.
BENCHMARK_CAPTURE(MinimumCover, in8_symmetric_3to5, SymmetricFunction(8, 3, 5), 8, 2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_symmetric_4to6, SymmetricFunction(10, 4, 6), 10, 2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_random_on80, RandomFunction(10, 80, 0, 2), 10, 2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MinimumCover, in10_random_on65, RandomFunction(10, 65, 0, 0), 10, 2000)->Unit(benchmark::kMillisecond);
} // namespace
