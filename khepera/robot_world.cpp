#include "robot_world.h"

#include "collision.h"

#include <utility>

namespace ksim {

RobotWorld::RobotWorld(Arena arena, Pose start, SensorNoise noise)
    : m_arena(std::move(arena))
    , m_pose(start)
    , m_noise(std::move(noise))
{
}

void RobotWorld::step()
{
    m_pose = driveWithCollisions(m_arena, m_pose, m_speeds, kPhysicsStepSeconds);
}

ProximityReadings RobotWorld::readSensors()
{
    return m_noise.apply(readProximity(m_arena, m_pose));
}

} // namespace ksim
