// How much faster than real time the simulated Khepera evaluates a PAL of 4
// inputs, 2 AND terms and 4 outputs in the default arena, with the window's
// defaults (10 s runs, motor table -5,0,5,10, threshold 300, no noise):
//   BM_RobotRun         one evaluation, the control loop alone;
//   BM_RobotGeneration  a generation of 100 individuals, each repositioned
//                       and then evaluated, as evolution does.
// "robot_s_per_s" is simulated robot seconds per second of this thread's CPU
// time, so the figure is per core.
#include "arena_presets.h"
#include "lcggenerator.h"
#include "palconfig.h"
#include "repositionkhepera.h"
#include "robotfitness.h"
#include "robotrunview.h"
#include "simulatedrobotbody.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {
constexpr int runSeconds = 10;
constexpr uint32_t population = 100;

struct Unwatched final : RobotRunView {
    void ShowProximityIndicators(const std::array<bool, 4>&) override {}
    void SetCurrentFitnessText(const QString&) override {}
    void SetCurrentSpeedText(const QString&) override {}
    void ProcessEvents() override {}
};

PalConfig RobotPal() { return PalConfig{4, 2, 4}; }

// Random chromosomes, as a first generation has them.
std::vector<BitString> Chromosomes(uint32_t count)
{
    LcgGenerator random;
    std::vector<BitString> chromosomes;
    for (uint32_t i = 0; i < count; ++i) {
        BitString c(static_cast<uint32_t>(RobotPal().ChromosomeSize()));
        for (uint32_t b = 0; b < c.Size(); ++b)
            c[b] = random.Draw() % 2;
        chromosomes.push_back(c);
    }
    return chromosomes;
}

void BM_RobotRun(benchmark::State& state)
{
    ksim::RobotWorld world(ksim::makeDefaultArena(), ksim::Pose{});
    SimulatedRobotBody body(world);
    Unwatched view;
    const RobotRunContext context{body, view, DefaultMotorTable, 300};
    const std::vector<BitString> chromosomes = Chromosomes(population);
    std::size_t next = 0;
    for (auto _ : state) {
        world.setPose(ksim::Pose{});
        const RobotRunResult result =
            ComputeFitnessKhepera(context, RobotPal(), chromosomes[next++ % population], runSeconds);
        benchmark::DoNotOptimize(result.fitness);
    }
    state.counters["robot_s_per_s"] = benchmark::Counter(
        static_cast<double>(runSeconds) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RobotGeneration(benchmark::State& state)
{
    ksim::RobotWorld world(ksim::makeDefaultArena(), ksim::Pose{});
    SimulatedRobotBody body(world);
    Unwatched view;
    const RobotRunContext context{body, view, DefaultMotorTable, 300};
    const std::vector<BitString> chromosomes = Chromosomes(population);
    LcgGenerator random;
    for (auto _ : state) {
        for (const BitString& chromosome : chromosomes) {
            RepositionKhepera(body, random);
            benchmark::DoNotOptimize(ComputeFitnessKhepera(context, RobotPal(), chromosome, runSeconds).fitness);
        }
    }
    // The body's clock counts every simulated step, the walks included.
    const double robotSeconds = std::chrono::duration<double>(body.Now()).count();
    state.counters["robot_s_per_s"] = benchmark::Counter(robotSeconds, benchmark::Counter::kIsRate);
    state.counters["generations_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK(BM_RobotRun)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RobotGeneration)->Unit(benchmark::kMillisecond);
