#pragma once
// What the generation step keeps between generations so that a step
// allocates nothing once the sizes are settled: the spare population that the
// next generation is built in (swapped with the current one at the end) and
// the index lists of the step. Only the step reads them; a copy of a GA
// copies them along, which is harmless (they are rebuilt before every use).
#include "gamutation.h"
#include "individual.h"

#include <cstdint>
#include <vector>

struct GAStepBuffers {
    struct Ranked {
        uint64_t key; // orders as the fitness, fittest highest
        uint32_t index;
    };

    std::vector<Individual> pool;
    std::vector<Ranked> ranked;
    std::vector<uint32_t> order;      // population indices, fittest first
    std::vector<double> runningSum;   // roulette: running fitness sum in that order
    std::vector<uint32_t> parents;    // pool slot -> population index (or none)
    std::vector<uint32_t> cuts;       // per pair: crossover cut (L: not crossed)
    std::vector<ChildPlan> children;
    std::vector<unsigned char> flips; // one child's mutation flips, L + 32 cells
};
