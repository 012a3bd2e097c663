#pragma once
// How a run of a batch scores a generation: the fast truth-table fitness, or
// (with --robot) the simulated Khepera in virtual time, the robot loop of the
// window's robot mode. Each run makes its own, so nothing is shared between
// the threads.
#include "batchsetup.h"

#include <memory>

class LcgGenerator;

class BatchFitness {
public:
    virtual ~BatchFitness() = default;
    // Sets the fitness of every individual of `ga`, in population order.
    virtual void EvaluateGeneration(GA& ga) = 0;
};

// The fitness of the run with `seed`. `random` is the generator the run's GA
// draws from; the robot's repositioning draws from it too, as the window's
// robot mode draws from the one generator its GA uses. It must outlive the
// result.
std::unique_ptr<BatchFitness> MakeBatchFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random);
