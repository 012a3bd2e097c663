#include "arena.h"

#include <algorithm>
#include <utility>

namespace ksim {

namespace {

void appendRectangle(std::vector<Segment> &out, Vec2 min, Vec2 max)
{
    const Vec2 a{min.x, min.y};
    const Vec2 b{max.x, min.y};
    const Vec2 c{max.x, max.y};
    const Vec2 d{min.x, max.y};
    out.push_back({a, b});
    out.push_back({b, c});
    out.push_back({c, d});
    out.push_back({d, a});
}

} // namespace

Arena::Arena(double width, double height, std::vector<Box> boxes, std::vector<Circle> cylinders,
             std::vector<Segment> walls)
    : m_width(width)
    , m_height(height)
    , m_boxes(std::move(boxes))
    , m_cylinders(std::move(cylinders))
    , m_walls(std::move(walls))
{
    appendRectangle(m_surfaces, {-width / 2, -height / 2}, {width / 2, height / 2});
    for (const Box &box : m_boxes)
        appendRectangle(m_surfaces, box.min, box.max);
    m_surfaces.insert(m_surfaces.end(), m_walls.begin(), m_walls.end());
}

double Arena::castRay(Vec2 origin, Vec2 dir, double maxRange) const
{
    // Whatever lies beyond the range cannot lower `nearest`: skipped. The
    // margin keeps rounding in the exact tests from ever mattering, so the
    // result is the same as testing everything.
    const double reach = maxRange + kCullMarginMm;
    double nearest = maxRange;
    for (const Segment &surface : m_surfaces) {
        if (outsideSquare(surface, origin, reach))
            continue;
        if (auto t = raySegmentHit(origin, dir, surface))
            nearest = std::min(nearest, *t);
    }
    for (const Circle &cylinder : m_cylinders) {
        if (outsideSquare(cylinder, origin, reach))
            continue;
        if (auto t = rayCircleHit(origin, dir, cylinder))
            nearest = std::min(nearest, *t);
    }
    return nearest;
}

bool Arena::isFree(Vec2 p) const
{
    if (p.x <= -m_width / 2 || p.x >= m_width / 2 || p.y <= -m_height / 2 || p.y >= m_height / 2)
        return false;
    for (const Box &box : m_boxes) {
        if (p.x >= box.min.x && p.x <= box.max.x && p.y >= box.min.y && p.y <= box.max.y)
            return false;
    }
    for (const Circle &cylinder : m_cylinders) {
        if (length(p - cylinder.centre) <= cylinder.radius)
            return false;
    }
    return true;
}

} // namespace ksim
