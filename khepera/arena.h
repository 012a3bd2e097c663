#pragma once

#include "geometry.h"

#include <vector>

namespace ksim {

// An axis-aligned solid box, corners in arena millimetres.
struct Box {
    Vec2 min;
    Vec2 max;
};

// A walled rectangular floor centred on the origin, with solid boxes,
// cylinders and thin inner walls standing on it. Every surface reflects
// infrared the same way.
class Arena {
public:
    // Slack of the cheap tests that skip far surfaces (mm): far more than any
    // rounding, far less than anything in an arena.
    static constexpr double kCullMarginMm = 1.0;

    // width, height: inner size of the walled floor in mm (> 0). walls:
    // straight, two-sided inner walls of no thickness.
    Arena(double width, double height, std::vector<Box> boxes = {},
          std::vector<Circle> cylinders = {}, std::vector<Segment> walls = {});

    double width() const { return m_width; }
    double height() const { return m_height; }
    const std::vector<Box> &boxes() const { return m_boxes; }
    const std::vector<Circle> &cylinders() const { return m_cylinders; }
    const std::vector<Segment> &walls() const { return m_walls; }
    // The four outer walls, the four sides of every box, then the inner walls.
    const std::vector<Segment> &surfaces() const { return m_surfaces; }

    // Distance in mm from `origin` along the unit direction `dir` to the first
    // surface, or `maxRange` when none is nearer.
    double castRay(Vec2 origin, Vec2 dir, double maxRange) const;

    // True when p lies inside the walls and outside every obstacle.
    bool isFree(Vec2 p) const;

private:
    double m_width;
    double m_height;
    std::vector<Box> m_boxes;
    std::vector<Circle> m_cylinders;
    std::vector<Segment> m_walls;
    std::vector<Segment> m_surfaces;
};

} // namespace ksim
