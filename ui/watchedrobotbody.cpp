#include "watchedrobotbody.h"

#include "tfrobotarena.h"

#include <algorithm>
#include <thread>

namespace {
constexpr int64_t StepsPerControlStep = 10; // 0.1 s of 10 ms physics steps
// Longest sleep between two rounds of GUI events while pacing.
constexpr std::chrono::milliseconds PaceSlice{4};
} // namespace

WatchedRobotBody::WatchedRobotBody(ksim::RobotWorld& world, TFRobotArena& arena,
                                   std::function<void()> processEvents, std::function<bool()> paced)
    : TracedRobotBody(world), arena_(arena), processEvents_(std::move(processEvents)), paced_(std::move(paced))
{
}

void WatchedRobotBody::StartWatching(const QString& caption)
{
    watching_ = true;
    watchedFrom_ = PhysicsSteps();
    recording_.clear();
    recording_.append(World().pose());
    arena_.StartRun(World().arena(), World().pose(), caption);
}

void WatchedRobotBody::Stepped()
{
    const int64_t steps = PhysicsSteps() - watchedFrom_;
    if (watching_ && steps % StepsPerControlStep == 0) {
        recording_.append(World().pose());
        arena_.ShowStep(World().pose(), static_cast<double>(steps) * PhysicsStep.count() / 1000.0);
    }
    KeepPace();
}

void WatchedRobotBody::KeepPace()
{
    if (!paced_()) {
        pacing_ = false;
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!pacing_) {
        pacing_ = true;
        pacedFrom_ = PhysicsSteps();
        pacedSince_ = now;
        return;
    }
    const auto due = pacedSince_ + (PhysicsSteps() - pacedFrom_) * PhysicsStep;
    for (auto t = now; t < due && paced_(); t = std::chrono::steady_clock::now()) {
        processEvents_();
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(due - t, PaceSlice));
    }
}
