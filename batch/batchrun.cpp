#include "batchrun.h"

#include "batchfitness.h"
#include "batchjedec.h"
#include "esstep.h"
#include "safeoutputfile.h"
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

// The fitness evaluations of a run: how many were made, the budget, and the
// count at which the maximum fitness was first reached.
struct EvaluationCount {
    std::optional<uint64_t> budget;
    uint64_t made = 0;
    std::optional<uint64_t> reachedMaxAt;

    bool Exhausted() const { return budget && made >= *budget; }
};

// Breeds the next generation with the run's strategy and returns the first
// individual whose fitness the step left stale. The truth-table fitness of
// the evolution strategy's parent cannot change, so the parent keeps it; a
// robot's fitness varies from run to run, so the parent is evaluated again
// with its offspring every generation.
uint32_t Breed(GA& ga, const BatchSetup& setup, bool fitnessVaries)
{
    if (setup.options.strategy == BatchOptions::Strategy::GA) {
        ga.NextGeneration();
        return 0;
    }
    NextGenerationES(ga, setup.esMutation);
    return fitnessVaries ? 0 : 1;
}

// Max, average, min of individuals 0 .. end-1 (end >= 1), as GA's statistics
// compute them over the whole population.
GAFitInfo FitInfoOf(const GA& ga, uint32_t end)
{
    GAFitInfo info {ga.At(0).GetFitness(), 0.0, ga.At(0).GetFitness(), ga.GetGeneration()};
    double sum = 0.0;
    for (uint32_t i = 0; i < end; ++i) {
        const double value = ga.At(i).GetFitness();
        sum += value;
        info.max = value > info.max ? value : info.max;
        info.min = value < info.min ? value : info.min;
    }
    info.average = sum / end;
    return info;
}

// One generation of the window's evolution loop: breed when the population
// carries fitness values of its own generation (after the run's first
// generation, or from the start file), then evaluate the individuals in
// order (with the fast truth-table fitness, or on the run's own simulated
// robot), as far as the budget allows. (For tables the window sums one
// evaluation onto 0 and divides by one run: the same value.) Returns the
// statistics of the individuals that carry a fitness of this generation,
// those the window's chart would plot for it when the generation is whole.
// Unlike the window, which records every generation for its chart, a run
// keeps no history, so its memory stays the same however long it runs; the
// draws are the same, as breeding never reads the history.
GAFitInfo EvolveGeneration(GA& ga, const BatchSetup& setup, BatchFitness& fitness, bool breed,
                           EvaluationCount& count)
{
    const uint32_t first = breed ? Breed(ga, setup, fitness.Varies()) : 0;
    const uint32_t n = ga.GetPopulationSize();
    uint32_t end = n;
    if (count.budget)
        end = first + static_cast<uint32_t>(std::min<uint64_t>(n - first, *count.budget - count.made));
    fitness.Evaluate(ga, first, end);
    for (uint32_t i = first; i < end; ++i) {
        ++count.made;
        if (!count.reachedMaxAt && ga.At(i).GetFitness() >= setup.maxFitness)
            count.reachedMaxAt = count.made;
    }
    if (end == n)
        return GAFitInfo {ga.MaxFitness(), ga.AverageFitness(), ga.MinFitness(), ga.GetGeneration()};
    return FitInfoOf(ga, end);
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

    EvaluationCount count;
    count.budget = options.evaluations;
    for (bool first = true;; first = false) {
        const GAFitInfo info = EvolveGeneration(ga, setup, *fitness, !first || ga.IsEvaluated(), count);
        result.evaluations = count.reachedMaxAt.value_or(count.made);
        result.generations = static_cast<uint32_t>(info.generation) - startGeneration;
        result.best = first ? info.max : std::max(result.best, info.max);
        if (info.max >= setup.maxFitness && !result.reachedMax) {
            result.reachedMax = true;
            result.reachedAt = result.generations;
        }
        progress.generations = result.generations;
        progress.evaluations = count.made;
        progress.best = result.best;

        if (result.reachedMax && options.stopAtMax)
            result.end = RunResult::End::ReachedMax;
        else if (options.generations && result.generations >= *options.generations)
            result.end = RunResult::End::Generations;
        else if (count.Exhausted())
            result.end = RunResult::End::Evaluations;
        else if (stop)
            result.end = RunResult::End::Interrupted;
        const bool last = result.end != RunResult::End::NotStarted;
        if (options.statsFile && (result.generations % options.every == 0 || last))
            StatisticsFile::AppendRow(result.statsRows, run, result.seed, info);
        if (last)
            break;
    }

    result.robotRuns = fitness->RobotRuns();
    if (options.assess) {
        const uint32_t best = FittestIndex(ga);
        result.assessment = AssessControllerOf(setup, setup.pal, ga.At(best));
    }

    if (options.saveDirectory) {
        // A file of an earlier batch is replaced, not appended to, and only
        // once the new one is complete: the block SaveGeneration would append
        // to an empty file, written through a temporary file.
        const std::string path = SavedPopulationPath(*options.saveDirectory, result.seed);
        const std::string reason = WriteWholeFile(path, ga.GenerationBlock());
        if (!reason.empty())
            result.saveError = CannotWrite(path, reason);
        if (result.saveError.empty() && options.jedecDevice)
            result.saveError = WriteBestJedec(ga, setup.pal, *options.jedecDevice,
                                              SavedJedecPath(*options.saveDirectory, result.seed));
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    progress.ended = true;
    return result;
}
