#pragma once

#include "arena.h"
#include "kinematics.h"

#include <array>

namespace ksim {

inline constexpr int kSensorCount = 8;
inline constexpr int kMaxReading = 1023;

// Infrared proximity readings, sensor 0 first: 0 (nothing in range) up to
// 1023 (touching), in the order the robot sends them.
using ProximityReadings = std::array<int, kSensorCount>;

// Where a sensor sits on the body: position in robot mm (x forward, y left)
// and the direction it faces, radians counter-clockwise from forward.
struct SensorMount {
    Vec2 position;
    double facing = 0.0;
};

// The eight mounts of the Khepera: 0 left, 1 front-left, 2 and 3 front,
// 4 front-right, 5 right, 6 and 7 rear (right and left).
const std::array<SensorMount, kSensorCount> &sensorMounts();

// Response of one infrared ray to a surface `distanceMm` away from the
// sensor, 0..1023: piecewise linear through the calibration points
// (10 mm, 1000), (20, 450), (30, 275), (40, 190), (50, 150), (100, 80),
// (150, 0); the first piece is extended towards 0 mm and the result clamped
// to 1023; 0 from 150 mm on.
double proximityResponse(double distanceMm);

// Beyond this no surface changes a reading.
inline constexpr double kSensorRangeMm = 150.0;

// Noise-free readings of all eight sensors for the robot at `pose`. Each
// sensor casts a cone of 5 rays over +-15 degrees about its facing; its
// reading is the weighted mean of the rays' responses (weights 1, 2, 3, 2, 1,
// centre ray heaviest), rounded to the nearest integer.
ProximityReadings readProximity(const Arena &arena, const Pose &pose);

} // namespace ksim
