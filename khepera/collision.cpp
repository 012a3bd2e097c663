#include "collision.h"

#include <algorithm>
#include <cmath>

namespace ksim {

namespace {

constexpr double kMaxSubStepMm = 1.0;
constexpr int kResolveIterations = 4;

} // namespace

Vec2 pushOutOfObstacles(const Arena &arena, Vec2 centre, double radius)
{
    for (int iteration = 0; iteration < kResolveIterations; ++iteration) {
        bool moved = false;
        // Far surfaces and cylinders cannot overlap the body: skipped.
        const double reach = radius + Arena::kCullMarginMm;
        for (const Segment &surface : arena.surfaces()) {
            if (outsideSquare(surface, centre, reach))
                continue;
            const Vec2 away = centre - closestPointOnSegment(centre, surface);
            const double distance = length(away);
            if (distance < radius && distance > 1e-12) {
                centre = centre + away * ((radius - distance) / distance);
                moved = true;
            }
        }
        for (const Circle &cylinder : arena.cylinders()) {
            if (outsideSquare(cylinder, centre, reach))
                continue;
            const Vec2 away = centre - cylinder.centre;
            const double distance = length(away);
            const double minimum = radius + cylinder.radius;
            if (distance < minimum && distance > 1e-12) {
                centre = centre + away * ((minimum - distance) / distance);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
    return centre;
}

Pose driveWithCollisions(const Arena &arena, const Pose &pose, WheelSpeeds speeds, double seconds)
{
    const double fastestWheel =
        std::max(std::abs(speeds.left), std::abs(speeds.right)) * kSpeedUnitMmPerSecond;
    const int subSteps =
        std::max(1, static_cast<int>(std::ceil(fastestWheel * seconds / kMaxSubStepMm)));
    const double dt = seconds / subSteps;

    Pose current = pose;
    for (int i = 0; i < subSteps; ++i) {
        Pose next = advancePose(current, speeds, dt);
        const Vec2 free = pushOutOfObstacles(arena, next.position(), kBodyRadiusMm);
        next.x = free.x;
        next.y = free.y;
        current = next;
    }
    return current;
}

} // namespace ksim
