#include "simulatedrobotbody.h"

static_assert(SimulatedRobotBody::PhysicsStep.count()
                  == static_cast<int>(ksim::kPhysicsStepSeconds * 1000 + 0.5),
              "the body's clock counts the world's physics steps");

bool SimulatedRobotBody::ReadProximity(uint32_t readings[8])
{
    const ksim::ProximityReadings values = world_.readSensors();
    for (int k = 0; k < 8; ++k)
        readings[k] = static_cast<uint32_t>(values[k]); // 0..1023 by the sensor model
    return true;
}

bool SimulatedRobotBody::ReadSpeeds(int& left, int& right)
{
    const ksim::WheelSpeeds speeds = world_.wheelSpeeds();
    left = speeds.left;
    right = speeds.right;
    return true;
}

void SimulatedRobotBody::SetSpeeds(int left, int right) { world_.setWheelSpeeds({left, right}); }

void SimulatedRobotBody::WaitUntil(Time t)
{
    while (Now() < t) {
        world_.step();
        ++steps_;
        Stepped();
    }
}
