#pragma once
// Runs every run of a batch on a number of threads. Each run owns its
// population, its generators and its fitness evaluator, so what a run computes
// never depends on the number of threads or on the order in which they pick
// runs up; the results are handed over in run order.
#include "batchrun.h"

#include <atomic>
#include <cstdint>
#include <vector>

// A snapshot of the whole batch for the progress display.
struct ExperimentProgress {
    uint32_t runs = 0;
    uint32_t finished = 0; // runs handed over
    uint32_t reachedMax = 0; // of those, the runs that reached the maximum fitness
    bool anyBest = false; // whether any generation has been evaluated yet
    double best = 0.0; // the highest fitness of any run so far
    double fraction = 0.0; // of the work done, 0 .. 1: runs ended count whole, runs
                           // under way by their share of the evaluation budget,
                           // else of the generation limit
    double seconds = 0.0; // since the batch began
};

class ExperimentObserver {
public:
    virtual ~ExperimentObserver() = default;
    // Each run once, in run order, on the thread that called RunExperiment.
    virtual void RunFinished(const RunResult& result) = 0;
    // About every tenth of a second, and once at the end, on the same thread.
    virtual void Tick(const ExperimentProgress& progress) = 0;
};

// Evolves runs 0 .. runs - 1 of `setup` on min(jobs, runs) threads and
// returns their results in run order (their statistics rows already handed to
// the observer and dropped). Setting `stop` ends every run after its current
// generation; the runs not begun by then end NotStarted. A run that fails
// (out of memory) sets `stop` too and its message is returned in `error`.
std::vector<RunResult> RunExperiment(const BatchSetup& setup, uint32_t jobs, std::atomic<bool>& stop,
    ExperimentObserver& observer, std::string& error);
