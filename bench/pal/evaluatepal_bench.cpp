// EvaluatePal over every input combination of one random chromosome, at the
// default PAL (4/2/3) and the largest (10/40/10), fuse density 0.5 and 0.1.
#include "bitstring.h"
#include "evaluatepal.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {
void BM_EvaluatePalAllCombinations(benchmark::State& state)
{
    const PalConfig config{static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                           static_cast<int32_t>(state.range(2))};
    const double density = state.range(3) / 100.0;
    std::mt19937 random(42);
    std::bernoulli_distribution fuse(density);
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    for (uint32_t i = 0; i < chromosome.Size(); ++i)
        chromosome[i] = fuse(random);

    std::vector<unsigned char> inputs(config.NumInputs), outputs(config.NumOutputs);
    for (auto _ : state) {
        for (uint32_t r = 0; r < static_cast<uint32_t>(config.NumCombinations()); ++r) {
            CombinationToInputs(config, r, inputs.data());
            EvaluatePal(config, chromosome, inputs.data(), outputs.data());
            benchmark::DoNotOptimize(outputs.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * config.NumCombinations());
    state.counters["sweeps_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EvaluatePalAllCombinations)
    ->ArgNames({"in", "terms", "out", "density%"})
    ->Args({4, 2, 3, 50})
    ->Args({4, 2, 3, 10})
    ->Args({10, 40, 10, 50})
    ->Args({10, 40, 10, 10});
} // namespace
