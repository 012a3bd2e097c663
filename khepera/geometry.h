#pragma once

#include "vec2.h"

#include <cmath>
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

// True when the segment lies wholly outside the axis-aligned square of
// half-size `reach` about `centre`: then no point of it is within `reach` of
// centre, and no ray from centre meets it closer than that. A cheap test that
// spares the exact one for most surfaces of an arena.
inline bool outsideSquare(const Segment &segment, Vec2 centre, double reach)
{
    return (segment.a.x < centre.x - reach && segment.b.x < centre.x - reach)
        || (segment.a.x > centre.x + reach && segment.b.x > centre.x + reach)
        || (segment.a.y < centre.y - reach && segment.b.y < centre.y - reach)
        || (segment.a.y > centre.y + reach && segment.b.y > centre.y + reach);
}

// The same for a circle: true when its bounding square lies outside.
inline bool outsideSquare(const Circle &circle, Vec2 centre, double reach)
{
    return std::abs(circle.centre.x - centre.x) > reach + circle.radius
        || std::abs(circle.centre.y - centre.y) > reach + circle.radius;
}

// The point of the segment nearest to p.
Vec2 closestPointOnSegment(Vec2 p, const Segment &segment);

} // namespace ksim
