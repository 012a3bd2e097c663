#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace ksim {

std::optional<double> raySegmentHit(Vec2 origin, Vec2 dir, const Segment &segment)
{
    // Solve origin + t*dir = a + u*(b - a) for t >= 0 and 0 <= u <= 1.
    const Vec2 edge = segment.b - segment.a;
    const double denom = cross(dir, edge);
    if (std::abs(denom) < 1e-12)
        return std::nullopt; // parallel: a grazing ray sees no surface
    const Vec2 toA = segment.a - origin;
    const double t = cross(toA, edge) / denom;
    const double u = cross(toA, dir) / denom;
    if (t < 0.0 || u < 0.0 || u > 1.0)
        return std::nullopt;
    return t;
}

std::optional<double> rayCircleHit(Vec2 origin, Vec2 dir, const Circle &circle)
{
    const Vec2 toOrigin = origin - circle.centre;
    const double c = dot(toOrigin, toOrigin) - circle.radius * circle.radius;
    if (c <= 0.0)
        return 0.0;
    const double b = dot(toOrigin, dir);
    if (b >= 0.0)
        return std::nullopt; // outside and heading away
    const double discriminant = b * b - c;
    if (discriminant < 0.0)
        return std::nullopt;
    return -b - std::sqrt(discriminant);
}

Vec2 closestPointOnSegment(Vec2 p, const Segment &segment)
{
    const Vec2 edge = segment.b - segment.a;
    const double lengthSquared = dot(edge, edge);
    if (lengthSquared <= 0.0)
        return segment.a;
    const double u = std::clamp(dot(p - segment.a, edge) / lengthSquared, 0.0, 1.0);
    return segment.a + edge * u;
}

} // namespace ksim
