#include "proximity_sensors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ksim {

namespace {

constexpr double degrees(double d) { return d * std::numbers::pi / 180.0; }

struct CurvePoint {
    double distanceMm;
    double reading;
};

constexpr std::array<CurvePoint, 7> kCurve{{
    {10.0, 1000.0},
    {20.0, 450.0},
    {30.0, 275.0},
    {40.0, 190.0},
    {50.0, 150.0},
    {100.0, 80.0},
    {kSensorRangeMm, 0.0},
}};

struct ConeRay {
    double offset; // radians from the sensor's facing
    double weight;
};

constexpr std::array<ConeRay, 5> kCone{{
    {degrees(-15.0), 1.0},
    {degrees(-7.5), 2.0},
    {degrees(0.0), 3.0},
    {degrees(7.5), 2.0},
    {degrees(15.0), 1.0},
}};

double interpolate(const CurvePoint &a, const CurvePoint &b, double d)
{
    return a.reading + (b.reading - a.reading) * (d - a.distanceMm) / (b.distanceMm - a.distanceMm);
}

} // namespace

const std::array<SensorMount, kSensorCount> &sensorMounts()
{
    static const std::array<SensorMount, kSensorCount> mounts{{
        {{10.0, 24.0}, degrees(90.0)},
        {{19.0, 17.0}, degrees(45.0)},
        {{25.0, 6.0}, degrees(0.0)},
        {{25.0, -6.0}, degrees(0.0)},
        {{19.0, -17.0}, degrees(-45.0)},
        {{10.0, -24.0}, degrees(-90.0)},
        {{-24.0, -10.0}, degrees(180.0)},
        {{-24.0, 10.0}, degrees(180.0)},
    }};
    return mounts;
}

double proximityResponse(double distanceMm)
{
    if (distanceMm >= kSensorRangeMm)
        return 0.0;
    double value = interpolate(kCurve[0], kCurve[1], distanceMm);
    for (std::size_t i = 1; i + 1 < kCurve.size(); ++i) {
        if (distanceMm >= kCurve[i].distanceMm)
            value = interpolate(kCurve[i], kCurve[i + 1], distanceMm);
    }
    return std::clamp(value, 0.0, static_cast<double>(kMaxReading));
}

ProximityReadings readProximity(const Arena &arena, const Pose &pose)
{
    double totalWeight = 0.0;
    for (const ConeRay &ray : kCone)
        totalWeight += ray.weight;

    ProximityReadings readings{};
    const auto &mounts = sensorMounts();
    for (int s = 0; s < kSensorCount; ++s) {
        const Vec2 origin = robotToArena(pose, mounts[s].position);
        double sum = 0.0;
        for (const ConeRay &ray : kCone) {
            const Vec2 dir = unitVector(pose.heading + mounts[s].facing + ray.offset);
            sum += ray.weight * proximityResponse(arena.castRay(origin, dir, kSensorRangeMm));
        }
        readings[s] = static_cast<int>(std::lround(sum / totalWeight));
    }
    return readings;
}

} // namespace ksim
