#pragma once

#include <cmath>

namespace ksim {

// A point or direction in the arena plane, in millimetres. The arena frame has
// x to the right and y up; angles are radians, counter-clockwise from +x.
struct Vec2 {
    double x = 0.0;
    double y = 0.0;

    friend constexpr Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
    friend constexpr Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
    friend constexpr Vec2 operator*(double k, Vec2 a) { return {a.x * k, a.y * k}; }
};

constexpr double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
// z component of the 3-D cross product: > 0 when b lies counter-clockwise of a.
constexpr double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline double length(Vec2 a) { return std::hypot(a.x, a.y); }
inline Vec2 unitVector(double angle) { return {std::cos(angle), std::sin(angle)}; }
inline Vec2 rotated(Vec2 a, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}

} // namespace ksim
