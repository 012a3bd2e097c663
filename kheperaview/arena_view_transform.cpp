#include "arena_view_transform.h"

#include <algorithm>

ArenaViewTransform::ArenaViewTransform(double arenaWidthMm, double arenaHeightMm, const QRectF &area)
    : m_centre(area.center())
    , m_scale(std::min(area.width() / arenaWidthMm, area.height() / arenaHeightMm))
{
}

QPointF ArenaViewTransform::toView(ksim::Vec2 p) const
{
    return {m_centre.x() + p.x * m_scale, m_centre.y() - p.y * m_scale};
}
