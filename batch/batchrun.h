#pragma once
// One run of a batch: the main window's evolution loop without the window.
// Generation after generation: breed if the population carries recorded
// fitness (with the GA's step or the evolution strategy's), evaluate the
// individuals (with the fast truth-table fitness, or on the run's own
// simulated robot), record the generation; until the maximum possible
// fitness (the --target), the generation limit, the evaluation budget (which
// may end a generation part way), or a stop request seen between two
// generations.
#include "batchassessment.h"
#include "batchsetup.h"

#include <atomic>
#include <cstdint>
#include <string>

struct RunResult {
    enum class End {
        NotStarted, // the stop request came before the run began
        ReachedMax, // stopped at the first generation with the maximum fitness
        Generations, // reached the generation limit
        Interrupted, // stopped between two generations by the stop request
        Evaluations, // used up the --evaluations budget
    };

    uint32_t run = 0;
    uint32_t seed = 0;
    End end = End::NotStarted;
    uint32_t generations = 0; // generation steps made from the start population
    double best = 0.0; // the highest maximum of any generation the run evaluated
    bool reachedMax = false;
    std::optional<uint32_t> reachedAt; // steps made when the maximum was first reached
    // Fitness evaluations made until the maximum was first reached (that one
    // included), or all the run made when it never was.
    uint64_t evaluations = 0;
    double seconds = 0.0;
    std::string statsRows; // the run's rows of the statistics file
    std::string saveError; // why --save-best could not write the run's file
    uint64_t robotRuns = 0; // with --robot: every robot run the evolution made
    std::optional<ControllerAssessment> assessment; // --assess: of the last generation's fittest

    bool Finished() const
    {
        return end == End::ReachedMax || end == End::Generations || end == End::Evaluations;
    }
};

// What the progress display reads while a run is under way (from another
// thread; every field is written by the run alone).
struct RunProgress {
    std::atomic<uint32_t> generations {0};
    std::atomic<uint64_t> evaluations {0};
    std::atomic<double> best {0.0};
    std::atomic<bool> started {false};
    std::atomic<bool> ended {false};
};

// The seed of run `run`.
inline uint32_t RunSeed(const BatchSetup& setup, uint32_t run)
{
    return setup.options.seed + run;
}

// The path --save-best writes run `seed`'s final population to.
std::string SavedPopulationPath(const std::string& directory, uint32_t seed);

// Evolves run `run` of `setup`. `stop` is read once after every generation.
RunResult EvolveRun(
    const BatchSetup& setup, uint32_t run, const std::atomic<bool>& stop, RunProgress& progress);
