#pragma once
// Paints a simulated Khepera world: the walled floor with its obstacles, a
// trail of positions, and the robot with its sensor rays. Only reads what it
// is given.

#include "arena.h"
#include "kinematics.h"
#include "proximity_sensors.h"

#include <QVector>

class ArenaViewTransform;
class QPainter;

namespace ksim {

void paintArena(QPainter &p, const ArenaViewTransform &t, const Arena &arena);

// A polyline through the positions (arena mm), oldest first.
void paintTrail(QPainter &p, const ArenaViewTransform &t, const QVector<Vec2> &trail);

// The body, its heading, and each sensor's ray up to the first surface
// (sensor_rays.h, with a dot where it meets one), drawn the stronger the
// higher the sensor's reading.
void paintRobot(QPainter &p, const ArenaViewTransform &t, const Arena &arena, const Pose &pose,
                const ProximityReadings &readings);

} // namespace ksim
