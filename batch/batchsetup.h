#pragma once
// What a batch of runs needs, checked before anything is written: the PAL,
// the truth table with its maximum fitness, the GA parameters as the window
// applies them after its GA dialog, and the population that --start names.
#include "batchoptions.h"
#include "esstep.h"
#include "ga.h"
#include "palconfig.h"
#include "truthtable.h"

#include <optional>
#include <string>

struct BatchSetup {
    BatchOptions options;
    PalConfig pal;
    TruthTable table;
    double maxFitness = 0.0; // MaxPossibleFitness of the table

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

// Reads the table (and the --start file) and checks every value by the rules
// and with the messages of the PAL and GA dialogs. Writes nothing.
BatchSetupResult PrepareBatch(const BatchOptions& options);
