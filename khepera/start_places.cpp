#include "start_places.h"

#include <algorithm>
#include <limits>
#include <numbers>

namespace ksim {

namespace {
// Tries per place before an arena counts as full.
constexpr int kDrawAttempts = 10000;
// Uniform candidates per place of a spread set.
constexpr int kCandidates = 10;
} // namespace

double clearance(const Arena &arena, Vec2 p)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (const Segment &surface : arena.surfaces())
        nearest = std::min(nearest, length(p - closestPointOnSegment(p, surface)));
    for (const Circle &cylinder : arena.cylinders())
        nearest = std::min(nearest, length(p - cylinder.centre) - cylinder.radius);
    return nearest;
}

bool touching(const Arena &arena, Vec2 p)
{
    return clearance(arena, p) <= kBodyRadiusMm + kContactMarginMm;
}

double StartPlaces::uniform()
{
    return static_cast<double>(m_generator() >> 11) * 0x1.0p-53;
}

Pose StartPlaces::draw(const Arena &arena, const Pose &fallback)
{
    for (int attempt = 0; attempt < kDrawAttempts; ++attempt) {
        const Vec2 p{(uniform() - 0.5) * arena.width(), (uniform() - 0.5) * arena.height()};
        const double heading = (uniform() * 2.0 - 1.0) * std::numbers::pi;
        if (arena.isFree(p) && clearance(arena, p) >= kBodyRadiusMm + kStartClearanceMm)
            return Pose{p.x, p.y, heading};
    }
    return fallback;
}

std::vector<Pose> StartPlaces::spread(const Arena &arena, const Pose &fallback, int count)
{
    std::vector<Pose> places;
    places.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k) {
        Pose best = draw(arena, fallback);
        double bestGap = -1.0;
        for (int c = 0; c < (k == 0 ? 1 : kCandidates); ++c) {
            const Pose candidate = c == 0 ? best : draw(arena, fallback);
            double gap = std::numeric_limits<double>::infinity();
            for (const Pose &chosen : places)
                gap = std::min(gap, length(candidate.position() - chosen.position()));
            if (gap > bestGap) {
                best = candidate;
                bestGap = gap;
            }
        }
        places.push_back(best);
    }
    return places;
}

} // namespace ksim
