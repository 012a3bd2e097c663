// NextGeneration at the start-up settings of the program (rank selection of
// the 15 best, mutation 0.01, crossover 0.7, elitism 1) for N = 100 and a
// chromosome of 48 bits (the default PAL) and of 8000 bits, with rank and
// roulette selection: the step on each mutation kernel, and the reference
// step (tests/engine/reference_step.h) that it must match draw for draw, in
// the same run. Each iteration also stores a fresh fitness in all 100
// individuals, as the driver does.
#include "ga.h"
#include "reference_step.h"

#include <benchmark/benchmark.h>

namespace {
enum Step { Reference, Portable, Avx2 };

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
    LcgGenerator random;
    ShuffleGenerator shuffler;
    GA ga(100, static_cast<uint32_t>(state.range(0)), random, shuffler);
    Configure(ga);
    ga.SetSelection(static_cast<uint8_t>(state.range(1)));
    const auto step = static_cast<Step>(state.range(2));
    if (step != Reference && !ga.UseStepKernel(step == Avx2 ? GA::StepKernel::Avx2 : GA::StepKernel::Portable)) {
        state.SkipWithError("kernel not available on this processor");
        return;
    }
    uint32_t round = 0;
    for (auto _ : state) {
        SetFitness(ga, round++);
        if (step == Reference)
            ReferenceNextGeneration(ga);
        else
            ga.NextGeneration();
    }
    benchmark::DoNotOptimize(ga.At(0).GetFitness());
}
} // namespace

// step: 0 reference, 1 portable kernel, 2 AVX2 kernel.
BENCHMARK(BM_NextGeneration)
    ->ArgNames({"L", "selection", "step"})
    ->ArgsProduct({{48, 8000}, {1, 0}, {Reference, Portable, Avx2}})
    ->Unit(benchmark::kMicrosecond);
