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
    // Sets the fitness of individuals first .. end-1 of `ga`, in population
    // order (the whole generation unless an evaluation budget ends it early).
    virtual void Evaluate(GA& ga, uint32_t first, uint32_t end) = 0;
    // Whether an individual's fitness can change from one evaluation to the
    // next (a robot's can, a truth table's cannot).
    virtual bool Varies() const = 0;
    // Robot runs made so far (each evaluation's runs and re-evaluations).
    virtual uint64_t RobotRuns() const { return 0; }
};

// The fitness of the run with `seed`. `random` is the generator the run's GA
// draws from; the robot's repositioning draws from it too, as the window's
// robot mode draws from the one generator its GA uses. It must outlive the
// result.
std::unique_ptr<BatchFitness> MakeBatchFitness(const BatchSetup& setup, uint32_t seed, LcgGenerator& random);
