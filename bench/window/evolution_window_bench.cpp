// Generations per second of "Evolve" in the real main window (offscreen,
// default PAL, 100 individuals, truth-table mode), and whether the cost of a
// generation stays flat as the run grows: the mean time of a generation over
// a span from generation 100 against that over the last span of the run.
#include "orvikwindows.h"
#include "tffitnessdisplay.h"
#include "tforvik.h"
#include "uiseam.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {
struct QuietUi : UiSeam {
    void Message(QWidget*, const QString&, const QString&) override {}
};

using Clock = std::chrono::steady_clock;

struct Sample {
    int32_t generation;
    Clock::time_point at;
};

// Mean seconds per generation between the first samples at or after `from`
// and at or after `to`.
double SecondsPerGeneration(const std::vector<Sample>& samples, int32_t from, int32_t to)
{
    const Sample* a = nullptr;
    const Sample* b = nullptr;
    for (const Sample& s : samples) {
        if (!a && s.generation >= from)
            a = &s;
        if (!b && s.generation >= to)
            b = &s;
    }
    if (!a || !b || b->generation == a->generation)
        return 0.0;
    return std::chrono::duration<double>(b->at - a->at).count() / (b->generation - a->generation);
}

void BM_EvolveInMainWindow(benchmark::State& state)
{
    const int32_t lastGeneration = static_cast<int32_t>(state.range(0));
    QuietUi ui;
    SetUiSeam(&ui);
    for (auto _ : state) {
        CreateOrvikWindows("/dev/null"); // no robot: its open errors go to QuietUi
        TFOrvik* window = FOrvik;
        // O0 = I0 XOR I1, O1 = I2 AND I3, O2 = I0 OR I3.
        for (uint32_t r = 0; r < 16; ++r) {
            const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
            window->Table[r * 3 + 0] = i0 ^ i1;
            window->Table[r * 3 + 1] = i2 & i3;
            window->Table[r * 3 + 2] = i0 | i3;
        }
        window->show();

        std::vector<Sample> samples;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const int32_t g = window->Population.GetGeneration();
            samples.push_back({g, Clock::now()});
            if (g >= lastGeneration)
                FFitnessDisplay->BStopClick();
        });
        watch.start(0);
        const auto start = Clock::now();
        window->Evolve();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        watch.stop();

        // The watch only runs when the loop lets events through (every 8 ms,
        // some hundreds of generations), and a machine shared with other work
        // takes the processor away for milliseconds at a time, so the spans
        // are as wide as the run allows, up to 10,000 generations (1,000 for
        // the shortest run): early from 100, late ending at the last one.
        const int32_t span = std::clamp<int32_t>((lastGeneration - 100) / 2, 1000, 10000);
        const double early = SecondsPerGeneration(samples, 100, 100 + span);
        const double late = SecondsPerGeneration(samples, lastGeneration - span, lastGeneration);
        state.counters["generations"] = window->Population.GetGeneration() + 1;
        state.counters["gen_per_s"] = (window->Population.GetGeneration() + 1) / seconds;
        state.counters["ms_per_gen_early"] = early * 1e3;
        state.counters["ms_per_gen_late"] = late * 1e3;
        state.counters["late_over_early"] = early > 0 ? late / early : 0;
        DestroyOrvikWindows();
    }
    SetUiSeam(nullptr);
}
BENCHMARK(BM_EvolveInMainWindow)->Arg(2000)->Arg(20100)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
