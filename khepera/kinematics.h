#pragma once

#include "vec2.h"

namespace ksim {

// Body constants of the Khepera robot.
inline constexpr double kSpeedUnitMmPerSecond = 8.0; // one wheel speed unit
inline constexpr double kWheelBaseMm = 53.0;         // distance between the wheels
inline constexpr double kBodyRadiusMm = 27.5;        // half the 55 mm body diameter

// Where the robot stands: centre in arena mm, heading in radians
// counter-clockwise from +x (the robot's forward direction).
struct Pose {
    double x = 0.0;
    double y = 0.0;
    double heading = 0.0;

    Vec2 position() const { return {x, y}; }
};

// Wheel speeds in robot units (8 mm/s each), positive forward.
struct WheelSpeeds {
    int left = 0;
    int right = 0;
};

// The pose after `seconds` of differential drive at constant wheel speeds,
// ignoring obstacles. Integrates the arc exactly, so the step size does not
// bend straight runs or spins. The heading is kept within (-pi, pi].
Pose advancePose(const Pose &pose, WheelSpeeds speeds, double seconds);

// Converts a point given in the robot frame (mm, x forward, y left) to the arena.
Vec2 robotToArena(const Pose &pose, Vec2 local);

double normalizedAngle(double radians);

} // namespace ksim
