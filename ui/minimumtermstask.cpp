#include "minimumtermstask.h"

#include "console.h"

#include <atomic>
#include <chrono>
#include <thread>

struct MinimumTermsTask::Job {
    uint64_t id = 0;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::thread thread;
};

MinimumTermsTask::MinimumTermsTask(QObject* parent) : QObject(parent) {}

MinimumTermsTask::~MinimumTermsTask()
{
    for (const auto& job : jobs_)
        job->cancel = true;
    for (const auto& job : jobs_)
        job->thread.join();
}

void MinimumTermsTask::Start(TruthTable cells, int32_t numInputs, int32_t numOutputs)
{
    Cancel();
    busy_ = true;
    auto job = std::make_unique<Job>();
    job->id = latest_;
    Job* raw = job.get();
    job->thread = std::thread([this, raw, limits = Limits, cells = std::move(cells), numInputs, numOutputs]() mutable {
        limits.cancel = &raw->cancel;
        const auto start = std::chrono::steady_clock::now();
        TableCover cover = MinimumTableCover(cells, numInputs, numOutputs, limits);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t id = raw->id;
        raw->done = true;
        // Queued to the owner's thread; dropped if the owner is gone by then
        // (it joins this thread first, so it cannot go while this runs).
        QMetaObject::invokeMethod(
            this, [this, id, seconds, cover = std::move(cover)]() mutable {
                if (!cover.cancelled)
                    ConsolePrintf("Minimum AND terms (%.3f s): %s\n", seconds, DescribeTableCover(cover).c_str());
                Done(id, std::move(cover));
            },
            Qt::QueuedConnection);
    });
    jobs_.push_back(std::move(job));
}

void MinimumTermsTask::Cancel()
{
    for (const auto& job : jobs_)
        job->cancel = true;
    ++latest_;
    busy_ = false;
    result_.reset();
    JoinFinishedJobs();
}

void MinimumTermsTask::JoinFinishedJobs()
{
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        if ((*it)->done) {
            (*it)->thread.join(); // it has only its last statement left
            it = jobs_.erase(it);
        } else {
            ++it;
        }
    }
}

void MinimumTermsTask::Done(uint64_t id, TableCover cover)
{
    JoinFinishedJobs();
    if (id != latest_ || cover.cancelled)
        return;
    busy_ = false;
    result_ = std::move(cover);
    emit Finished();
}
