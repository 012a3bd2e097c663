// NextGeneration at the start-up settings of the program (rank selection of
// the 15 best, mutation 0.01, crossover 0.7, elitism 1) for N = 100 and a
// chromosome of 48 bits (the default PAL) and of 8000 bits. Each iteration
// also stores a fresh fitness in all 100 individuals, as the driver does.
#include "ga.h"

#include <benchmark/benchmark.h>

namespace {
void Configure(GA& ga)
{
    ga.SetRankParents(15);
    ga.SetMutationRate(0.01);
    ga.SetCrossoverRate(0.7);
    ga.SetSelection(1);
    ga.SetElitism(1);
}

void SetFitness(GA& ga, uint32_t round)
{
    for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
        ga.At(i).SetFitness(static_cast<double>((i * 37u + round * 11u) % 101u));
}

void BM_NextGeneration(benchmark::State& state)
{
    GA ga(100, static_cast<uint32_t>(state.range(0)));
    Configure(ga);
    ga.SetSelection(static_cast<uint8_t>(state.range(1)));
    uint32_t round = 0;
    for (auto _ : state) {
        SetFitness(ga, round++);
        ga.NextGeneration();
    }
    benchmark::DoNotOptimize(ga.At(0).GetFitness());
}
} // namespace

BENCHMARK(BM_NextGeneration)
    ->ArgNames({"L", "selection"})
    ->Args({48, 1})
    ->Args({8000, 1})
    ->Args({48, 0})
    ->Args({8000, 0})
    ->Unit(benchmark::kMicrosecond);
