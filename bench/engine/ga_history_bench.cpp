// RecordGeneration followed by GetFitInfo, as the driver calls them once per
// generation, with a history of 100, 10,000 and 100,000 generations of 100
// individuals. The history grows by one record per iteration; it is rebuilt
// to its starting length (outside the timing) before it has grown by more
// than 1 % (10 records for the shortest), so the figures hold for that length.
#include "console.h"
#include "ga.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {
struct DiscardingSink : ConsoleSink {
    void Write(const char*, std::size_t) override {}
};

void FillHistory(GA& ga, std::size_t records)
{
    ga.Reset();
    for (std::size_t k = 0; k < records; ++k) {
        for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
            ga.At(i).SetFitness(static_cast<double>((i * 7 + k) % 50));
        ga.RecordGeneration();
    }
    ga.GetFitInfo(); // summarise the records once, as the driver has done
}

void RecordAndFitInfo(benchmark::State& state, bool consoleOpen)
{
    const auto records = static_cast<std::size_t>(state.range(0));
    const std::size_t limit = records + std::max<std::size_t>(10, records / 100);
    GA ga(100, 48);
    FillHistory(ga, records);
    DiscardingSink sink;
    if (consoleOpen)
        SetConsoleSink(&sink);
    for (auto _ : state) {
        if (ga.History().size() >= limit) {
            state.PauseTiming();
            SetConsoleSink(nullptr);
            FillHistory(ga, records);
            if (consoleOpen)
                SetConsoleSink(&sink);
            state.ResumeTiming();
        }
        ga.RecordGeneration();
        auto info = ga.GetFitInfo();
        benchmark::DoNotOptimize(info.data());
    }
    SetConsoleSink(nullptr);
}

void BM_RecordGenerationAndGetFitInfo(benchmark::State& state) { RecordAndFitInfo(state, false); }
void BM_RecordGenerationAndGetFitInfoConsoleOpen(benchmark::State& state) { RecordAndFitInfo(state, true); }
} // namespace

BENCHMARK(BM_RecordGenerationAndGetFitInfo)
    ->ArgName("history")
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordGenerationAndGetFitInfoConsoleOpen)
    ->ArgName("history")
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
