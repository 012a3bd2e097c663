// Where the drawn sensor rays end: at the first wall or obstacle in front of
// the sensor, or at the end of the sensor range, never beyond a surface.
#include "arena_presets.h"
#include "sensor_rays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace ksim;

namespace {
constexpr double kPi = std::numbers::pi;

struct RayCase {
    const char *what;
    Pose pose;
    int sensor;
    double expectedLengthMm;
};
} // namespace

TEST(SensorRays, EndAtTheFirstSurfaceOrTheRange)
{
    // Default arena: walls at +-500 mm; box from (180,160) to (320,240);
    // cylinder of radius 25 at (0,-300). Sensors 2/3 sit 25 mm ahead of the
    // centre, sensor 0 24 mm to the left, sensors 6/7 24 mm behind.
    const Arena arena = makeDefaultArena();
    const RayCase cases[] = {
        {"front, wall 40 mm ahead", {435.0, 0.0, 0.0}, 2, 40.0},
        {"front, open floor", {0.0, 0.0, 0.0}, 2, kSensorRangeMm},
        {"left, wall 30 mm away", {0.0, 446.0, 0.0}, 0, 30.0},
        {"rear, wall behind", {-420.0, 6.0, 0.0}, 7, 56.0},
        {"front, box 50 mm ahead", {105.0, 200.0, 0.0}, 2, 50.0},
        {"front facing down, cylinder", {6.0, -175.0, -kPi / 2}, 3, 75.0},
        {"front, box just beyond range", {0.0, 200.0, 0.0}, 2, kSensorRangeMm},
    };
    for (const RayCase &c : cases) {
        SCOPED_TRACE(c.what);
        const SensorRay ray = sensorRays(arena, c.pose)[c.sensor];
        EXPECT_NEAR(length(ray.tip - ray.origin), c.expectedLengthMm, 1e-6);
        EXPECT_LE(std::abs(ray.tip.x), arena.width() / 2 + 1e-9);
        EXPECT_LE(std::abs(ray.tip.y), arena.height() / 2 + 1e-9);
    }
}

TEST(SensorRays, NoRayLeavesTheArenaWhereverTheRobotStands)
{
    const Arena arena = makeOpenArena();
    for (double heading = -kPi; heading < kPi; heading += kPi / 7) {
        const Pose pose{arena.width() / 2 - 40.0, arena.height() / 2 - 40.0, heading};
        for (const SensorRay &ray : sensorRays(arena, pose)) {
            EXPECT_LE(ray.tip.x, arena.width() / 2 + 1e-9);
            EXPECT_LE(ray.tip.y, arena.height() / 2 + 1e-9);
            EXPECT_LE(length(ray.tip - ray.origin), kSensorRangeMm + 1e-9);
        }
    }
}
