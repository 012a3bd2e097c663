#include "repositionkhepera.h"

#include "processrandom.h"
#include "robotbody.h"
#include "serialrobotbody.h"

#include <chrono>

namespace {
using std::chrono::milliseconds;
// Positive weights speed a wheel up near an obstacle on that sensor.
constexpr int32_t LeftWeights[8] = {4, 4, 6, -18, -15, -5, 5, 3};
constexpr int32_t RightWeights[8] = {-5, -15, -18, 6, 4, 4, 3, 5};
constexpr int32_t WanderDivisor = 800;
constexpr int32_t WanderOffset = 10;
constexpr int MaxPhaseMs = 2000;
constexpr milliseconds WalkStep{100};
constexpr milliseconds Reverse{200};

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

bool RepositionKhepera(RobotBody& body, LcgGenerator& random)
{
    BodyStopOnExit stopAtTheEnd(body);
    const RobotBody::Time t0 = body.Now();
    const milliseconds walk{random.Draw() % MaxPhaseMs};
    while (walk >= std::chrono::duration_cast<milliseconds>(body.Now() - t0)) {
        uint32_t readings[8];
        body.ReadProximity(readings); // all 0 after a failure
        if (body.Lost())
            return false;
        const WheelSpeeds speeds = WanderSpeeds(readings);
        body.SetSpeeds(speeds.left, speeds.right);
        if (body.Lost())
            return false;
        body.Pause(WalkStep);
    }
    const milliseconds spin{random.Draw() % MaxPhaseMs};
    body.SetSpeeds(10, -10);
    if (body.Lost())
        return false;
    body.Pause(spin);
    body.SetSpeeds(-3, -3);
    if (body.Lost())
        return false;
    body.Pause(Reverse);
    stopAtTheEnd.StopNow();
    return !body.Lost();
}

bool RepositionKhepera(KKhepera& khepera)
{
    SerialRobotBody body(khepera);
    return RepositionKhepera(body, ProcessRandom::Generator());
}
