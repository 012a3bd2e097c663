// Runs per minute of a batch on 1 and 2 threads: the 2-bit adder
// (examples/adder2.tbl) on a PAL of 4 inputs, 6 AND terms and 3 outputs,
// the window's GA defaults, 8 runs of exactly 2000 generations each
// (--no-stop-at-max, so every run does the same work). Wall-clock time: the
// point is what the threads give together.
#include "batchexperiment.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

namespace {
constexpr uint32_t runs = 8;

struct Silent : ExperimentObserver {
    void RunFinished(const RunResult&) override { }
    void Tick(const ExperimentProgress&) override { }
};

BatchSetup AdderSetup()
{
    const BatchOptionsResult parsed
        = ParseBatchOptions({ORVIK_EXAMPLES_DIR "/adder2.tbl", "--terms", "6", "--runs", std::to_string(runs),
                                "--generations", "2000", "--no-stop-at-max"},
            1);
    BatchSetupResult prepared = PrepareBatch(parsed.options);
    if (!parsed.error.empty() || !prepared.setup)
        throw std::runtime_error(parsed.error + prepared.error);
    return std::move(*prepared.setup);
}

void BM_BatchRuns(benchmark::State& state)
{
    const BatchSetup setup = AdderSetup();
    const auto jobs = static_cast<uint32_t>(state.range(0));
    Silent observer;
    std::chrono::duration<double> elapsed {0};
    for (auto _ : state) {
        std::atomic<bool> stop {false};
        std::string error;
        const auto began = std::chrono::steady_clock::now();
        const std::vector<RunResult> results = RunExperiment(setup, jobs, stop, observer, error);
        elapsed += std::chrono::steady_clock::now() - began;
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["runs_per_minute"]
        = 60.0 * runs * static_cast<double>(state.iterations()) / elapsed.count();
}
} // namespace

BENCHMARK(BM_BatchRuns)->ArgName("jobs")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);
