#pragma once
// What a batch of runs needs, checked before anything is written: the PAL,
// the truth table with its maximum fitness (or, with --robot, the arena the
// robot drives in), the GA parameters as the window applies them after its GA
// dialog, and the population that --start names.
#include "arena.h"
#include "batchoptions.h"
#include "esstep.h"
#include "bitstring.h"
#include "ga.h"
#include "kinematics.h"
#include "palconfig.h"
#include "truthtable.h"

#include <optional>
#include <string>
#include <vector>

struct BatchSetup {
    BatchOptions options;
    PalConfig pal;
    TruthTable table;
    // The fitness at which a run has reached its goal: MaxPossibleFitness of
    // the table, or with --robot the --target (infinity without one).
    double maxFitness = 0.0;

    // With --robot: the arenas the runs' worlds copy (the first is the
    // window's choice; --arena given again adds more), each with the robot's
    // first pose in it and how the summary names it; the arenas of
    // --assess; and the population files it assesses instead of evolving.
    struct PlacedArena {
        ksim::Arena arena;
        ksim::Pose start;
        std::string name; // as the user chose it: "default", "open" or the file
    };
    struct Controller {
        std::string file;
        PalConfig pal;
        BitString chromosome {1};
        double fitness = 0.0; // as the file gives it
    };
    struct Robot {
        std::vector<PlacedArena> arenas;
        std::string arenaName; // of them all, for the summary
        std::vector<PlacedArena> assessArenas;
        std::vector<Controller> populations;
    };
    std::optional<Robot> robot;

    // The GA dialog's values converted as the window converts them.
    uint32_t populationSize = 100;
    double mutationRate = 0.01;
    double crossoverRate = 0.7;
    uint32_t rankParents = 15;
    int32_t elitism = 1;
    uint8_t selection = 1;
    // The evolution strategy's mutation (with --strategy es), its rate
    // resolved for the PAL's chromosome length.
    ESMutation esMutation;

    // The generation --start names, loaded with its history; empty without --start.
    std::optional<GA> start;
};

struct BatchSetupResult {
    std::optional<BatchSetup> setup;
    std::string error; // one line for the user when setup is empty
};

// How a summary names an arena chosen as `choice`: "the default arena",
// "arena rooms.arena".
std::string ArenaTitle(const std::string& choice);

// Reads the table or the arena file (and the --start file) and checks every
// value by the rules and with the messages of the PAL and GA dialogs. Writes
// nothing.
BatchSetupResult PrepareBatch(const BatchOptions& options);
