#pragma once
// The command line of orvik-batch: what each option means, its default (the
// main window's start-up values for the GA) and the syntax checks that need
// nothing but the text. The checks that need the files (the table's size, a
// saved population, an arena file) are made by BatchSetup.
#include "motortable.h"
#include "robotevaluation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The most runs of one invocation: each holds its result until the summary
// is written (a few hundred bytes), so a million fit in any memory; split
// more between invocations with --seed.
inline constexpr uint32_t MaxBatchRuns = 1000000;
// The evolution strategy's budget unless --generations or --evaluations is
// given: the GA's default work, 1000 generations of 100 individuals.
inline constexpr uint64_t DefaultESEvaluations = 100000;

struct BatchOptions {
    std::string table; // the target: a ".tbl" file, or a PLA file named "*.pla"

    // --robot: robot controllers instead of a table. Each individual drives
    // the simulated Khepera in virtual time (a PAL of 4 inputs and 4
    // outputs); the defaults are the window's.
    bool robot = false;
    uint32_t runLength = 10; // seconds of robot time per evaluation, 1..100
    uint32_t runsPerIndividual = 1; // evaluations averaged per generation, 1..10
    MotorTable motor = DefaultMotorTable; // each -5..10
    uint32_t threshold = 300; // a direction reading above it is an obstacle
    std::string arena = "default"; // "default", "open" or an arena file
    double noise = 0.0; // sensor noise, percent, 0..100
    std::optional<double> target; // the fitness that counts as reached

    // Beside the window's robot evaluation, each off unless given (see
    // robotevaluation.h). --arena may be given more than once: `arenas`
    // holds them in order (`arena` is the first), and the runs of each
    // individual take them in turn.
    std::vector<std::string> arenas;
    RobotEvaluation evaluation; // --shared-starts, --reevaluate, --stall-penalty
    // --assess N: the fittest individual of each run's last generation, or
    // of each population file named (`populations`, which are then assessed
    // instead of evolving anything), driven from N fixed start places in
    // each assessment arena (--assess-arena, default the --arena ones).
    std::optional<uint32_t> assess;
    std::vector<std::string> assessArenas;
    uint32_t assessLength = 10; // seconds per assessment run, the window's run length
    uint32_t assessSeed = 1; // of the start places
    std::optional<std::string> assessmentFile; // one row per assessment run
    std::vector<std::string> populations;

    // PAL: "--pal I/T/O", or the table's inputs and outputs with --terms.
    std::optional<std::string> pal;
    std::optional<std::string> terms;

    // GA parameters as typed, checked by the GA dialog's rules and messages.
    // The defaults are the window's start-up values.
    std::optional<std::string> population; // "100" unless given; --start takes the file's
    std::string mutation = "0.01";
    std::string crossover = "0.7";
    std::string rankParents = "15";
    std::string elitism = "1";
    uint8_t selection = 1; // 1 rank, 0 roulette wheel

    // The search: the GA, or the (1+λ) evolution strategy on a population of
    // 1 + lambda (its mutation rate is --mutation, "1/L" unless given).
    enum class Strategy { GA, ES };
    Strategy strategy = Strategy::GA;
    std::optional<uint32_t> lambda; // 4 unless given
    // How the evolution strategy mutates: "per-bit" (--mutation per bit),
    // "fuse-pairs" (--mutation per fuse pair, 2/L for 1/L), "bits:K".
    std::string esMutation = "per-bit";
    // Whether --strategy, --lambda or --evaluations was given: the summary
    // file then ends in an evaluations column.
    bool countsEvaluations = false;

    // Stop: after generation `generations` counted from the start population
    // (none: no limit), and, unless told not to, at the maximum fitness.
    std::optional<uint32_t> generations = 1000;
    bool stopAtMax = true;
    // Stop after exactly this many fitness evaluations (none: no budget;
    // DefaultESEvaluations for the evolution strategy without --generations).
    // A budget without --generations lifts the generation limit.
    std::optional<uint64_t> evaluations;

    uint32_t runs = 1;
    uint32_t seed = 1;
    uint32_t jobs = 1; // the number of cores unless given

    // "--start file.ga:generation".
    std::optional<std::string> startFile;
    int32_t startGeneration = 0;

    std::optional<std::string> statsFile;
    uint32_t every = 1;
    std::optional<std::string> summaryFile;
    std::optional<std::string> saveDirectory;
    std::optional<std::string> jedecDevice; // with saveDirectory: also seed-S.jed
    bool header = true;

    bool help = false;
};

struct BatchOptionsResult {
    BatchOptions options;
    std::string error; // one line for the user; empty when the options parsed
};

// Parses the arguments after the program name. `cores` is the default of
// --jobs. Every option takes "--name value" or "--name=value" and may be
// given once.
BatchOptionsResult ParseBatchOptions(const std::vector<std::string>& arguments, uint32_t cores);

// The text of --help: every option with its default.
std::string BatchHelpText(uint32_t cores);
