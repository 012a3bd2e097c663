#pragma once

#include "arena.h"
#include "kinematics.h"
#include "proximity_sensors.h"
#include "sensor_noise.h"

namespace ksim {

// Fixed physics step of the simulation, seconds.
inline constexpr double kPhysicsStepSeconds = 0.01;

// The simulated robot in its arena: pose, commanded wheel speeds and sensors.
// Advances only when told to; the caller owns the clock.
class RobotWorld {
public:
    RobotWorld(Arena arena, Pose start, SensorNoise noise = SensorNoise());

    const Arena &arena() const { return m_arena; }
    const Pose &pose() const { return m_pose; }
    // The speeds last commanded. They stay in force while the body is held by
    // an obstacle: like the robot's speed controller, the wheels keep trying.
    WheelSpeeds wheelSpeeds() const { return m_speeds; }

    void setWheelSpeeds(WheelSpeeds speeds) { m_speeds = speeds; }
    void setPose(const Pose &pose) { m_pose = pose; }

    // Advances the body by one kPhysicsStepSeconds step.
    void step();

    // Sensor readings at the current pose, noise included (each call draws
    // fresh noise, hence not const).
    ProximityReadings readSensors();

private:
    Arena m_arena;
    Pose m_pose;
    WheelSpeeds m_speeds;
    SensorNoise m_noise;
};

} // namespace ksim
