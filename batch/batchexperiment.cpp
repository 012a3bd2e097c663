#include "batchexperiment.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

namespace {
constexpr std::chrono::milliseconds tickInterval {100};

ExperimentProgress Snapshot(const BatchSetup& setup, const RunProgress* progress, uint32_t finished,
    uint32_t reachedMax, std::chrono::steady_clock::time_point began)
{
    ExperimentProgress snapshot;
    snapshot.runs = setup.options.runs;
    snapshot.finished = finished;
    snapshot.reachedMax = reachedMax;
    const std::optional<uint32_t> limit = setup.options.generations;
    double work = 0.0;
    for (uint32_t r = 0; r < snapshot.runs; ++r) {
        if (progress[r].ended)
            work += 1.0;
        if (!progress[r].started)
            continue;
        const double best = progress[r].best;
        snapshot.best = snapshot.anyBest ? std::max(snapshot.best, best) : best;
        snapshot.anyBest = true;
        const std::optional<uint64_t> budget = setup.options.evaluations;
        if (!progress[r].ended && budget)
            work += std::min(0.99, static_cast<double>(progress[r].evaluations) / static_cast<double>(*budget));
        else if (!progress[r].ended && limit)
            work += std::min(0.99, (progress[r].generations + 1.0) / (*limit + 1.0));
    }
    snapshot.fraction = snapshot.runs ? work / snapshot.runs : 1.0;
    snapshot.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return snapshot;
}
} // namespace

std::vector<RunResult> RunExperiment(const BatchSetup& setup, uint32_t jobs, std::atomic<bool>& stop,
    ExperimentObserver& observer, std::string& error)
{
    const uint32_t runs = setup.options.runs;
    const auto began = std::chrono::steady_clock::now();
    const auto progress = std::make_unique<RunProgress[]>(runs);
    std::vector<std::optional<RunResult>> done(runs);
    std::atomic<uint32_t> next {0};
    std::mutex mutex;
    std::condition_variable runEnded;

    auto work = [&] {
        for (uint32_t r = next++; r < runs; r = next++) {
            RunResult result;
            try {
                result = EvolveRun(setup, r, stop, progress[r]);
            } catch (const std::exception& failure) {
                result = RunResult();
                result.run = r;
                result.seed = RunSeed(setup, r);
                const bool memory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
                std::lock_guard lock(mutex);
                if (error.empty())
                    error = "run " + std::to_string(r) + " (seed " + std::to_string(result.seed)
                        + "): " + (memory ? "out of memory" : failure.what());
                stop = true;
            }
            std::lock_guard lock(mutex);
            done[r] = std::move(result);
            runEnded.notify_one();
        }
    };
    std::vector<RunResult> results;
    results.reserve(runs);
    std::vector<std::jthread> threads;
    // Should this thread fail (out of memory), the runs stop after their
    // current generation before the threads are joined.
    struct StopOnFailure {
        std::atomic<bool>& stop;
        ~StopOnFailure()
        {
            if (std::uncaught_exceptions() > 0)
                stop = true;
        }
    } stopOnFailure {stop};
    for (uint32_t t = 0; t < std::min(jobs, runs); ++t)
        threads.emplace_back(work);

    uint32_t reachedMax = 0;
    while (results.size() < runs) {
        std::vector<RunResult> ready;
        {
            std::unique_lock lock(mutex);
            runEnded.wait_for(lock, tickInterval, [&] { return done[results.size()].has_value(); });
            for (std::size_t r = results.size(); r < runs && done[r]; ++r) {
                ready.push_back(std::move(*done[r]));
                done[r].reset();
            }
        }
        for (RunResult& result : ready) {
            observer.RunFinished(result);
            reachedMax += result.reachedMax ? 1 : 0;
            result.statsRows = std::string(); // written: give the memory back
            results.push_back(std::move(result));
        }
        observer.Tick(
            Snapshot(setup, progress.get(), static_cast<uint32_t>(results.size()), reachedMax, began));
    }
    return results;
}
