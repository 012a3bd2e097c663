#include "sensor_rays.h"

namespace ksim {

std::array<SensorRay, kSensorCount> sensorRays(const Arena &arena, const Pose &pose)
{
    std::array<SensorRay, kSensorCount> rays{};
    const auto &mounts = sensorMounts();
    for (int s = 0; s < kSensorCount; ++s) {
        const Vec2 origin = robotToArena(pose, mounts[s].position);
        const Vec2 dir = unitVector(pose.heading + mounts[s].facing);
        rays[s] = {origin, origin + dir * arena.castRay(origin, dir, kSensorRangeMm)};
    }
    return rays;
}

} // namespace ksim
