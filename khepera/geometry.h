#pragma once

#include "vec2.h"

#include <optional>

namespace ksim {

// A straight, two-sided, zero-thickness surface (a wall or one side of a box).
struct Segment {
    Vec2 a;
    Vec2 b;
};

// A solid round obstacle.
struct Circle {
    Vec2 centre;
    double radius = 0.0;
};

// Distance t >= 0 along the unit direction `dir` from `origin` at which the ray
// first meets the segment, or nothing when it misses.
std::optional<double> raySegmentHit(Vec2 origin, Vec2 dir, const Segment &segment);

// Distance t >= 0 along the unit direction `dir` at which the ray enters the
// circle; 0 when `origin` already lies inside it; nothing when it misses.
std::optional<double> rayCircleHit(Vec2 origin, Vec2 dir, const Circle &circle);

// The point of the segment nearest to p.
Vec2 closestPointOnSegment(Vec2 p, const Segment &segment);

} // namespace ksim
