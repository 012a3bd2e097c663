#pragma once

#include "vec2.h"

#include <QPointF>
#include <QRectF>

// Maps arena millimetres (origin at the centre, y up) onto a widget area
// (y down), as large as fits with the arena's proportions kept, centred.
class ArenaViewTransform {
public:
    ArenaViewTransform(double arenaWidthMm, double arenaHeightMm, const QRectF &area);

    QPointF toView(ksim::Vec2 p) const;
    double pixelsPerMm() const { return m_scale; }

private:
    QPointF m_centre;
    double m_scale;
};
