// Cost of the fitness chart per generation at 100, 10,000 and 100,000
// generations of history, plotted as the evolution loop plots it (with the
// GA's history revision, which stays while the history grows):
// - Hidden: PlotFitInfo alone while the window is hidden (the model only);
// - Shown: the window shown, PlotFitInfo followed by event processing as the
//   evolution loop does, with 200 microseconds of untimed "evaluation"
//   between generations, so the throttled chart refresh and the repaints are
//   included, spread over the generations they serve;
// - Refresh: one forced refresh of the series after one new generation plus
//   a repaint of the chart, the work of one refresh tick.
#include "tffitnessdisplay.h"

#include <QApplication>
#include <QChartView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {
constexpr int kCallsPerIteration = 1000;

std::vector<GAFitInfo> MakeHistory(int count)
{
    std::vector<GAFitInfo> history;
    history.reserve(static_cast<std::size_t>(count));
    for (int g = 0; g < count; ++g) {
        const double trend = 48.0 * (1.0 - std::exp(-g / 300.0));
        const double jitter = (g * 7919 % 17) / 8.0;
        // Truth-table fitness: whole numbers for the maximum and minimum.
        history.push_back({std::floor(std::min(48.0, trend + jitter)), trend * 0.7 + jitter / 2.0,
                           std::floor(trend * 0.3 + jitter), g});
    }
    return history;
}

// The evaluation of one generation, which the chart's refresh ticks are
// spread over: 200 microseconds of busy work, untimed.
void SpendAGeneration()
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
    while (std::chrono::steady_clock::now() < end) {
    }
}

// Times batches of kCallsPerIteration generations, each batch starting from
// state.range(0) generations of history; "per_call" is the mean per call.
void PlotGrowingHistory(benchmark::State& state, bool shown)
{
    const int start = static_cast<int>(state.range(0));
    const std::vector<GAFitInfo> all = MakeHistory(start + kCallsPerIteration);
    TFFitnessDisplay window;
    if (shown)
        window.show();
    std::vector<GAFitInfo> history;
    history.reserve(all.size());
    uint64_t revision = 0;
    for (auto _ : state) {
        history.assign(all.begin(), all.begin() + start);
        ++revision; // a history replaced
        window.PlotFitInfo(history, revision);
        window.RefreshChartNow();
        QCoreApplication::processEvents();

        std::chrono::duration<double> elapsed{0.0};
        for (int i = 0; i < kCallsPerIteration; ++i) {
            if (shown)
                SpendAGeneration();
            const auto begin = std::chrono::steady_clock::now();
            history.push_back(all[static_cast<std::size_t>(start + i)]);
            window.PlotFitInfo(history, revision);
            if (shown)
                QCoreApplication::processEvents();
            elapsed += std::chrono::steady_clock::now() - begin;
        }
        state.SetIterationTime(elapsed.count());
    }
    // Seconds per PlotFitInfo call (the "Time" column is per batch of calls).
    state.counters["per_call"] = benchmark::Counter(
        kCallsPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PlotFitInfo_Hidden(benchmark::State& state) { PlotGrowingHistory(state, false); }
void BM_PlotFitInfo_Shown(benchmark::State& state) { PlotGrowingHistory(state, true); }

void BM_ChartRefresh(benchmark::State& state)
{
    const int start = static_cast<int>(state.range(0));
    const std::vector<GAFitInfo> all = MakeHistory(start + 100000);
    std::vector<GAFitInfo> history(all.begin(), all.begin() + start);
    TFFitnessDisplay window;
    window.show();
    uint64_t revision = 1;
    window.PlotFitInfo(history, revision);
    window.RefreshChartNow();
    QCoreApplication::processEvents();
    std::size_t next = history.size();
    for (auto _ : state) {
        if (next == all.size()) {
            state.PauseTiming();
            history.resize(static_cast<std::size_t>(start));
            next = history.size();
            window.PlotFitInfo(history, ++revision);
            window.RefreshChartNow();
            state.ResumeTiming();
        }
        history.push_back(all[next++]);
        window.PlotFitInfo(history, revision);
        window.RefreshChartNow();
        window.Chart1->viewport()->repaint();
    }
}
} // namespace

BENCHMARK(BM_PlotFitInfo_Hidden)->Arg(100)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlotFitInfo_Shown)->Arg(100)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChartRefresh)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
