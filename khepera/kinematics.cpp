#include "kinematics.h"

#include <cmath>
#include <numbers>

namespace ksim {

double normalizedAngle(double radians)
{
    double a = std::remainder(radians, 2.0 * std::numbers::pi);
    if (a <= -std::numbers::pi)
        a += 2.0 * std::numbers::pi;
    return a;
}

Pose advancePose(const Pose &pose, WheelSpeeds speeds, double seconds)
{
    const double vLeft = speeds.left * kSpeedUnitMmPerSecond;
    const double vRight = speeds.right * kSpeedUnitMmPerSecond;
    const double v = (vLeft + vRight) / 2.0;          // mm/s along the heading
    const double omega = (vRight - vLeft) / kWheelBaseMm; // rad/s, left turn positive
    const double dTheta = omega * seconds;

    Pose next = pose;
    if (std::abs(dTheta) < 1e-9) {
        next.x += v * seconds * std::cos(pose.heading);
        next.y += v * seconds * std::sin(pose.heading);
    } else {
        const double radius = v / omega;
        next.x += radius * (std::sin(pose.heading + dTheta) - std::sin(pose.heading));
        next.y -= radius * (std::cos(pose.heading + dTheta) - std::cos(pose.heading));
    }
    next.heading = normalizedAngle(pose.heading + dTheta);
    return next;
}

Vec2 robotToArena(const Pose &pose, Vec2 local)
{
    return pose.position() + rotated(local, pose.heading);
}

} // namespace ksim
