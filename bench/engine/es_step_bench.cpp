// One generation of the (1+λ) evolution strategy on the default PAL (4 inputs,
// 2 AND terms, 3 outputs: 48 bits) with λ = 4: the step and the fast
// truth-table fitness of all 5 individuals, as the window's loop evaluates
// them; the step alone; and, for the cost per evaluation, one generation of
// the GA at its start-up settings (N = 100: its step and 100 evaluations).
// Per-bit mutation 1/L; the step's kernel: 1 portable, 2 AVX2.
#include "esstep.h"
#include "fasttruthtablefitness.h"
#include "ga.h"

#include <benchmark/benchmark.h>

namespace {
// The target: a + b of two 2-bit numbers, the low 3 bits; an arbitrary
// table of the PAL's size.
TruthTable AdderTable()
{
    TruthTable table;
    for (int row = 0; row < 16; ++row) {
        const int sum = (row >> 2) + (row & 3);
        for (int bit = 2; bit >= 0; --bit)
            table.push_back((sum >> bit) & 1);
    }
    return table;
}

struct Setup {
    LcgGenerator random;
    ShuffleGenerator shuffler;
    GA ga;
    FastTruthTableFitness fitness;

    Setup(uint32_t n, benchmark::State& state) : ga(n, 48, random, shuffler)
    {
        fitness.Prepare(PalConfig{4, 2, 3}, AdderTable());
        const auto kernel = state.range(0) == 2 ? GA::StepKernel::Avx2 : GA::StepKernel::Portable;
        if (!ga.UseStepKernel(kernel))
            state.SkipWithError("kernel not available on this processor");
        ga.SetRankParents(15);
        ga.SetMutationRate(0.01);
        ga.SetCrossoverRate(0.7);
        ga.SetSelection(1);
        ga.SetElitism(1);
        Evaluate();
    }

    void Evaluate()
    {
        for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
            ga.At(i).SetFitness(fitness.Evaluate(ga.At(i)));
    }
};

void BM_ESGeneration(benchmark::State& state)
{
    Setup setup(5, state);
    for (auto _ : state) {
        NextGenerationES(setup.ga, ESMutation{});
        setup.Evaluate();
    }
    benchmark::DoNotOptimize(setup.ga.At(0).GetFitness());
}

void BM_ESStep(benchmark::State& state)
{
    Setup setup(5, state);
    for (auto _ : state)
        NextGenerationES(setup.ga, ESMutation{});
    benchmark::DoNotOptimize(setup.ga.At(0).GetFitness());
}

void BM_GAGeneration(benchmark::State& state)
{
    Setup setup(100, state);
    for (auto _ : state) {
        setup.ga.NextGeneration();
        setup.Evaluate();
    }
    benchmark::DoNotOptimize(setup.ga.At(0).GetFitness());
}
} // namespace

BENCHMARK(BM_ESGeneration)->ArgName("step")->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_ESStep)->ArgName("step")->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_GAGeneration)->ArgName("step")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
