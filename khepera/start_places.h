#pragma once
// Start places for the robot: where an evaluation or an assessment puts it,
// drawn over the free floor of an arena from a seed of their own.
//
// Positions are uniform over the floor, kept only where the whole body is at
// least kStartClearanceMm clear of every surface; headings are uniform. A
// spread set is drawn by best-candidate sampling (of a few uniform draws, the
// one farthest from those already chosen), so a handful of places covers the
// arena without piling up. Numbers come from std::mt19937_64 turned into
// doubles by this code, never by a standard distribution, so the same seed
// gives the same places with any compiler.
#include "arena.h"
#include "kinematics.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ksim {

// Room a start place leaves between the body and the nearest surface (mm).
inline constexpr double kStartClearanceMm = 5.0;
// A body this close to a surface (mm) is touching it.
inline constexpr double kContactMarginMm = 1.0;

// Distance from p to the nearest surface (outer walls, box sides, inner
// walls) or cylinder; negative inside a cylinder.
double clearance(const Arena &arena, Vec2 p);

// Whether a robot centred at p touches something.
bool touching(const Arena &arena, Vec2 p);

class StartPlaces {
public:
    explicit StartPlaces(std::uint64_t seed) : m_generator(seed) {}

    // One place; `fallback` (the arena's own start) when hardly any of the
    // floor is free.
    Pose draw(const Arena &arena, const Pose &fallback);
    // `count` places spread over the floor.
    std::vector<Pose> spread(const Arena &arena, const Pose &fallback, int count);

private:
    double uniform(); // [0, 1)

    std::mt19937_64 m_generator;
};

} // namespace ksim
