#pragma once

#include "arena.h"
#include "kinematics.h"
#include "proximity_sensors.h"

#include <array>

namespace ksim {

// The centre ray of one sensor as drawn: from the sensor's mount along its
// facing to the first surface it meets, or to the end of the sensor range
// when nothing is nearer. Arena millimetres.
struct SensorRay {
    Vec2 origin;
    Vec2 tip;
};

// The rays of all eight sensors for the robot at `pose`, sensor 0 first.
// A ray never crosses a wall or an obstacle.
std::array<SensorRay, kSensorCount> sensorRays(const Arena &arena, const Pose &pose);

} // namespace ksim
