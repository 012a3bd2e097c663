#include "batchrun.h"

#include "batchfitness.h"
#include "statisticsfile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace {

// The generators of the run with `seed`: the window's are those of seed 1.
struct RunGenerators {
    explicit RunGenerators(uint32_t seed)
        : random(seed)
        , shuffler(ShuffleGenerator::StartSeed + (seed - 1))
    {
    }
    LcgGenerator random;
    ShuffleGenerator shuffler;
};

// The population a run starts from, drawing from `generators` (which must
// outlive it), with the window's GA parameters set in the order its start-up
// and its GA dialog set them. A fresh population is the run's first draws; a
// --start population is a copy, so the run's draws begin with its first step.
GA StartPopulation(const BatchSetup& setup, RunGenerators& generators)
{
    GA ga = setup.start ? *setup.start
                        : GA(setup.populationSize, static_cast<uint32_t>(setup.pal.ChromosomeSize()),
                            generators.random, generators.shuffler);
    ga.UseGenerators(generators.random, generators.shuffler);
    ga.SetRankParents(setup.rankParents);
    ga.SetMutationRate(setup.mutationRate);
    ga.SetCrossoverRate(setup.crossoverRate);
    ga.SetElitism(setup.elitism);
    ga.SetSelection(setup.selection);
    return ga;
}

// One generation of the window's evolution loop: breed when the population
// carries fitness values of its own generation (after the run's first
// generation, or from the start file), then evaluate every individual in
// order. (For tables the window sums one evaluation onto 0 and divides by
// one run: the same value.) Returns the generation's statistics, those the window's chart
// would plot for it. Unlike the window, which records every generation for
// its chart, a run keeps no history, so its memory stays the same however
// long it runs; the draws are the same, as breeding never reads the history.
GAFitInfo EvolveGeneration(GA& ga, BatchFitness& fitness, bool breed)
{
    if (breed)
        ga.NextGeneration();
    fitness.EvaluateGeneration(ga);
    return GAFitInfo {ga.MaxFitness(), ga.AverageFitness(), ga.MinFitness(), ga.GetGeneration()};
}

} // namespace

std::string SavedPopulationPath(const std::string& directory, uint32_t seed)
{
    return (std::filesystem::path(directory) / ("seed-" + std::to_string(seed) + ".ga")).string();
}

RunResult EvolveRun(
    const BatchSetup& setup, uint32_t run, const std::atomic<bool>& stop, RunProgress& progress)
{
    RunResult result;
    result.run = run;
    result.seed = RunSeed(setup, run);
    if (stop) {
        progress.ended = true;
        return result;
    }
    progress.started = true;
    const auto began = std::chrono::steady_clock::now();
    const BatchOptions& options = setup.options;

    RunGenerators generators(result.seed);
    GA ga = StartPopulation(setup, generators);
    const std::unique_ptr<BatchFitness> fitness = MakeBatchFitness(setup, result.seed, generators.random);
    // Generation numbers count modulo 2^32, as the GA counts them.
    const auto startGeneration = static_cast<uint32_t>(ga.GetGeneration());

    for (bool first = true;; first = false) {
        const GAFitInfo info = EvolveGeneration(ga, *fitness, !first || ga.IsEvaluated());
        result.generations = static_cast<uint32_t>(info.generation) - startGeneration;
        result.best = first ? info.max : std::max(result.best, info.max);
        if (info.max >= setup.maxFitness && !result.reachedMax) {
            result.reachedMax = true;
            result.reachedAt = result.generations;
        }
        progress.generations = result.generations;
        progress.best = result.best;

        if (result.reachedMax && options.stopAtMax)
            result.end = RunResult::End::ReachedMax;
        else if (options.generations && result.generations >= *options.generations)
            result.end = RunResult::End::Generations;
        else if (stop)
            result.end = RunResult::End::Interrupted;
        const bool last = result.end != RunResult::End::NotStarted;
        if (options.statsFile && (result.generations % options.every == 0 || last))
            StatisticsFile::AppendRow(result.statsRows, run, result.seed, info);
        if (last)
            break;
    }

    if (options.saveDirectory) {
        // A file of an earlier batch is replaced, not appended to.
        const std::string path = SavedPopulationPath(*options.saveDirectory, result.seed);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        const GAFileResult saved = ga.SaveGeneration(path);
        if (!saved)
            result.saveError = saved.message;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    progress.ended = true;
    return result;
}
