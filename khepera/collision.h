#pragma once

#include "arena.h"
#include "kinematics.h"

namespace ksim {

// Moves a round body of `radius` mm out of every surface and cylinder it
// overlaps, along the shortest way out, so it ends up touching them. Repeats a
// few times so that corners (two walls at once) are resolved too.
Vec2 pushOutOfObstacles(const Arena &arena, Vec2 centre, double radius);

// One physics step of the robot body: drives for `seconds` like advancePose
// but in sub-steps of at most 1 mm, pushing the body out of obstacles after
// each. The body therefore stops against a surface it meets head on and
// slides along one it meets at a slant; its centre never crosses a surface,
// because no sub-step goes deeper than 1 mm, far less than the body radius.
// The heading turns freely (a round body turns in place against a wall).
Pose driveWithCollisions(const Arena &arena, const Pose &pose, WheelSpeeds speeds, double seconds);

} // namespace ksim
