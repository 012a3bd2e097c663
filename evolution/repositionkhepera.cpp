#include "repositionkhepera.h"

#include "kkhepera.h"
#include "processrandom.h"
#include "robotclock.h"
#include "robotcommands.h"

#include <chrono>
#include <thread>

namespace {
// Positive weights speed a wheel up near an obstacle on that sensor.
constexpr int32_t LeftWeights[8] = {4, 4, 6, -18, -15, -5, 5, 3};
constexpr int32_t RightWeights[8] = {-5, -15, -18, 6, 4, 4, 3, 5};
constexpr int32_t WanderDivisor = 800;
constexpr int32_t WanderOffset = 10;
constexpr int MaxPhaseMs = 2000;
constexpr int WalkStepMs = 100;
constexpr int ReverseMs = 200;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int32_t Weighted(const uint32_t readings[8], const int32_t weights[8])
{
    int32_t sum = 0;
    for (int k = 0; k < 8; ++k)
        sum += static_cast<int32_t>(readings[k]) * weights[k];
    return sum / WanderDivisor + WanderOffset;
}
} // namespace

WheelSpeeds WanderSpeeds(const uint32_t readings[8])
{
    return {Weighted(readings, LeftWeights), Weighted(readings, RightWeights)};
}

bool RepositionKhepera(KKhepera& khepera)
{
    WheelStopOnExit stopAtTheEnd(khepera);
    const long long t0 = ProcessMilliseconds();
    const int walkMs = ProcessRandom::Draw() % MaxPhaseMs;
    while (walkMs >= ProcessMilliseconds() - t0) {
        uint32_t readings[8];
        CommandProximity(khepera, readings); // all 0 after a failure
        if (khepera.Lost())
            return false;
        const WheelSpeeds speeds = WanderSpeeds(readings);
        CommandSetSpeed(khepera, speeds.left, speeds.right);
        if (khepera.Lost())
            return false;
        SleepMs(WalkStepMs);
    }
    const int spinMs = ProcessRandom::Draw() % MaxPhaseMs;
    CommandSetSpeed(khepera, 10, -10);
    if (khepera.Lost())
        return false;
    SleepMs(spinMs);
    CommandSetSpeed(khepera, -3, -3);
    if (khepera.Lost())
        return false;
    SleepMs(ReverseMs);
    stopAtTheEnd.StopNow();
    return !khepera.Lost();
}
