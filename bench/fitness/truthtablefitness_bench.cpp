// Evaluations per second (items_per_second) of the truth-table fitness:
// the reference ComputeFitnessTruthTable and FastTruthTableFitness with each
// kernel, at the default PAL (4/2/3), a middle one (8/8/4) and the largest
// (10/40/10), with random chromosomes of fuse density 50 % and 10 %.
// Arguments: inputs, AND terms, outputs, fuse density in percent.
#include "bitstring.h"
#include "fasttruthtablefitness.h"
#include "truthtable.h"
#include "truthtablefitness.h"

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PoolSize = 256; // distinct chromosomes, cycled through

struct Workload {
    PalConfig config;
    TruthTable table;
    std::vector<BitString> chromosomes;
};

Workload MakeWorkload(const benchmark::State& state)
{
    Workload w;
    w.config = PalConfig{.NumInputs = static_cast<int32_t>(state.range(0)),
                         .NumAndTerms = static_cast<int32_t>(state.range(1)),
                         .NumOutputs = static_cast<int32_t>(state.range(2))};
    std::mt19937 rng(12345);
    // A table of random 0 and 1 with one don't-care in ten.
    w.table = MakeTruthTable(w.config);
    std::uniform_int_distribution<int> cell(0, 9);
    for (int32_t& c : w.table) {
        const int v = cell(rng);
        c = v == 0 ? DontCare : v % 2;
    }
    std::bernoulli_distribution fuse(static_cast<double>(state.range(3)) / 100.0);
    for (int i = 0; i < PoolSize; ++i) {
        BitString chromosome(static_cast<uint32_t>(w.config.ChromosomeSize()));
        for (uint32_t b = 0; b < chromosome.Size(); ++b)
            chromosome[b] = fuse(rng);
        w.chromosomes.push_back(chromosome);
    }
    return w;
}

void Reference(benchmark::State& state)
{
    const Workload w = MakeWorkload(state);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeFitnessTruthTable(w.config, w.table, w.chromosomes[i]));
        i = (i + 1) % PoolSize;
    }
    state.SetItemsProcessed(state.iterations());
}

void Fast(benchmark::State& state, FastTruthTableFitness::Kernel kernel)
{
    FastTruthTableFitness fast;
    if (!fast.UseKernel(kernel)) {
        state.SkipWithError("kernel not supported by this processor");
        return;
    }
    const Workload w = MakeWorkload(state);
    fast.Prepare(w.config, w.table);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fast.Evaluate(w.chromosomes[i]));
        i = (i + 1) % PoolSize;
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

// Registered size by size, so that the three evaluators of one size are
// reported next to each other.
int main(int argc, char** argv)
{
    using Kernel = FastTruthTableFitness::Kernel;
    for (auto [inputs, terms, outputs] : {std::array{4, 2, 3}, std::array{8, 8, 4}, std::array{10, 40, 10}}) {
        for (int density : {50, 10}) {
            const std::vector<int64_t> args{inputs, terms, outputs, density};
            const std::vector<std::string> names{"in", "terms", "out", "density"};
            benchmark::RegisterBenchmark("Reference", Reference)->Args(args)->ArgNames(names);
            benchmark::RegisterBenchmark("FastPortable", Fast, Kernel::Portable)->Args(args)->ArgNames(names);
            benchmark::RegisterBenchmark("FastAvx2", Fast, Kernel::Avx2)->Args(args)->ArgNames(names);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
