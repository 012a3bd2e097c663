#include "arena_view.h"

#include "arena_painter.h"
#include "arena_view_transform.h"
#include "proximity_sensors.h"
#include "robot_world.h"

#include <QPainter>

#include <numbers>

namespace {

constexpr int kRefreshMs = 50;
constexpr int kMaxTrailPoints = 4000;
constexpr double kMinTrailStepMm = 2.0;
constexpr int kPanelWidth = 200;
constexpr int kMargin = 12;

void drawPanel(QPainter &p, const QRectF &area, const ksim::ProximityReadings &readings,
               ksim::WheelSpeeds speeds, const ksim::Pose &pose)
{
    p.setPen(Qt::black);
    const double lineHeight = p.fontMetrics().height() + 4;
    double y = area.top() + lineHeight;
    p.drawText(QPointF(area.left(), y), "Proximity (0..1023)");
    for (int s = 0; s < ksim::kSensorCount; ++s) {
        y += lineHeight;
        const double barWidth = (area.width() - 70) * readings[s] / ksim::kMaxReading;
        p.fillRect(QRectF(area.left() + 20, y - lineHeight + 6, barWidth, lineHeight - 6), QColor(220, 40, 40));
        p.drawText(QPointF(area.left(), y), QString::number(s));
        p.drawText(QPointF(area.right() - 45, y), QString::number(readings[s]));
    }
    y += 2 * lineHeight;
    p.drawText(QPointF(area.left(), y), QString("Speeds: %1, %2").arg(speeds.left).arg(speeds.right));
    y += lineHeight;
    p.drawText(QPointF(area.left(), y), QString("x %1 mm, y %2 mm").arg(pose.x, 0, 'f', 0).arg(pose.y, 0, 'f', 0));
    y += lineHeight;
    p.drawText(QPointF(area.left(), y),
               QString("heading %1°").arg(pose.heading * 180.0 / std::numbers::pi, 0, 'f', 0));
}

} // namespace

ArenaView::ArenaView(const ksim::RobotWorld &world, QWidget *parent)
    : QWidget(parent)
    , m_world(world)
{
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        sampleTrail();
        update();
    });
    m_refresh.start();
    sampleTrail();
}

void ArenaView::sampleTrail()
{
    const ksim::Vec2 here = m_world.pose().position();
    if (!m_trail.isEmpty() && ksim::length(here - m_trail.back()) < kMinTrailStepMm)
        return;
    if (m_trail.size() >= kMaxTrailPoints)
        m_trail.remove(0, kMaxTrailPoints / 4);
    m_trail.append(here);
}

void ArenaView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());

    const QRectF arenaArea = QRectF(rect()).adjusted(kMargin, kMargin, -kPanelWidth - kMargin, -kMargin);
    const QRectF panelArea(arenaArea.right() + kMargin, kMargin, kPanelWidth - kMargin, height() - 2 * kMargin);
    const ksim::Arena &arena = m_world.arena();
    const ArenaViewTransform transform(arena.width(), arena.height(), arenaArea);
    const ksim::ProximityReadings readings = ksim::readProximity(arena, m_world.pose());

    ksim::paintArena(p, transform, arena);
    ksim::paintTrail(p, transform, m_trail);
    ksim::paintRobot(p, transform, arena, m_world.pose(), readings);
    drawPanel(p, panelArea, readings, m_world.wheelSpeeds(), m_world.pose());
}
