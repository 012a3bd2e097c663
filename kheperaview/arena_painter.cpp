#include "arena_painter.h"

#include "arena_view_transform.h"
#include "sensor_rays.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ksim {

namespace {
const QColor kObstacleColour(120, 120, 130);
const QColor kTrailColour(60, 120, 220, 150);
} // namespace

void paintArena(QPainter &p, const ArenaViewTransform &t, const Arena &arena)
{
    const QPointF topLeft = t.toView({-arena.width() / 2, arena.height() / 2});
    const QPointF bottomRight = t.toView({arena.width() / 2, -arena.height() / 2});
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(QRectF(topLeft, bottomRight));

    p.setPen(Qt::NoPen);
    p.setBrush(kObstacleColour);
    for (const Box &box : arena.boxes())
        p.drawRect(QRectF(t.toView({box.min.x, box.max.y}), t.toView({box.max.x, box.min.y})));
    for (const Circle &c : arena.cylinders()) {
        const double r = c.radius * t.pixelsPerMm();
        p.drawEllipse(t.toView(c.centre), r, r);
    }
    p.setPen(QPen(kObstacleColour, 3, Qt::SolidLine, Qt::RoundCap));
    for (const Segment &wall : arena.walls())
        p.drawLine(t.toView(wall.a), t.toView(wall.b));
}

void paintTrail(QPainter &p, const ArenaViewTransform &t, const QVector<Vec2> &trail)
{
    if (trail.size() < 2)
        return;
    QPainterPath path(t.toView(trail.front()));
    for (const Vec2 &point : trail)
        path.lineTo(t.toView(point));
    p.setPen(QPen(kTrailColour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void paintRobot(QPainter &p, const ArenaViewTransform &t, const Arena &arena, const Pose &pose,
                const ProximityReadings &readings)
{
    const auto rays = sensorRays(arena, pose);
    for (int s = 0; s < kSensorCount; ++s) {
        // Faint while the sensor sees nothing, full red when it touches.
        const int alpha = 60 + 195 * std::clamp(readings[s], 0, kMaxReading) / kMaxReading;
        const QColor colour(220, 40, 40, alpha);
        p.setPen(QPen(colour, 2));
        p.drawLine(t.toView(rays[s].origin), t.toView(rays[s].tip));
        // A dot where the ray meets a surface within the sensor's range.
        if (length(rays[s].tip - rays[s].origin) < kSensorRangeMm - 1e-6) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(t.toView(rays[s].tip), 2.5, 2.5);
        }
    }
    const double r = kBodyRadiusMm * t.pixelsPerMm();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(90, 170, 90));
    p.drawEllipse(t.toView(pose.position()), r, r);
    const Vec2 nose = robotToArena(pose, {kBodyRadiusMm, 0.0});
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(t.toView(pose.position()), t.toView(nose));
}

} // namespace ksim
