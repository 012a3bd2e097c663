#include "tfrobotarena.h"

#include "arena_painter.h"
#include "arena_view_transform.h"
#include "elidedlabel.h"
#include "proximity_sensors.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int ControlStepMs = 100;
// A new trail point only when the robot moved this far (mm): a robot that
// spins on the spot does not grow the trail.
constexpr double MinTrailStepMm = 1.0;
constexpr int Margin = 8;
} // namespace

RobotArenaCanvas::RobotArenaCanvas(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 200);
}

void RobotArenaCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    if (!arena)
        return;
    const QRectF area = QRectF(rect()).adjusted(Margin, Margin, -Margin, -Margin);
    const ArenaViewTransform transform(arena->width(), arena->height(), area);
    ksim::paintArena(p, transform, *arena);
    ksim::paintTrail(p, transform, trail);
    // Noise-free readings: drawing must not draw from the run's noise.
    ksim::paintRobot(p, transform, *arena, pose, ksim::readProximity(*arena, pose));
    p.setPen(palette().color(QPalette::WindowText));
    const QPointF corner = transform.toView({-arena->width() / 2, arena->height() / 2});
    p.drawText(corner + QPointF(8, 6 + p.fontMetrics().ascent()),
               QStringLiteral("t = %1 s").arg(seconds, 0, 'f', 1));
}

TFRobotArena::TFRobotArena(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Canvas(new RobotArenaCanvas(this)),
      CBRealTime(new QCheckBox(tr("Real time"), this)),
      // Cut rather than widen the window when a caption is long.
      LRun(new ElidedLabel(this))
{
    setObjectName(QStringLiteral("FRobotArena"));
    setWindowTitle(tr("Robot arena"));
    Canvas->setObjectName(QStringLiteral("Canvas"));
    CBRealTime->setObjectName(QStringLiteral("CBRealTime"));
    CBRealTime->setToolTip(tr("Pace simulated runs at 0.1 s per control step, as the real robot runs"));
    LRun->setObjectName(QStringLiteral("LRun"));
    LRun->setText(tr("No run yet: evolve or compute a fitness with the simulated Khepera."));

    auto* row = new QHBoxLayout;
    row->addWidget(LRun, 1);
    row->addWidget(CBRealTime);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Canvas, 1);
    layout->addLayout(row);

    replayTimer_.setInterval(ControlStepMs);
    connect(&replayTimer_, &QTimer::timeout, this, &TFRobotArena::ReplayStep);
}

bool TFRobotArena::RealTime() const { return CBRealTime->isChecked() && isVisible(); }

void TFRobotArena::StartRun(const ksim::Arena& arena, const ksim::Pose& start, const QString& caption)
{
    replayTimer_.stop();
    Canvas->arena = arena;
    Canvas->pose = start;
    Canvas->trail = {start.position()};
    Canvas->seconds = 0.0;
    LRun->setText(caption);
    Canvas->update();
}

void TFRobotArena::ShowStep(const ksim::Pose& pose, double seconds)
{
    Canvas->pose = pose;
    if (Canvas->trail.isEmpty() || ksim::length(pose.position() - Canvas->trail.back()) >= MinTrailStepMm)
        Canvas->trail.append(pose.position());
    Canvas->seconds = seconds;
    Canvas->update();
}

void TFRobotArena::Replay(const ksim::Arena& arena, const QVector<ksim::Pose>& poses, const QString& caption)
{
    if (poses.isEmpty())
        return;
    StartRun(arena, poses.front(), caption);
    replay_ = poses;
    replayNext_ = 1;
    replayTimer_.start();
}

void TFRobotArena::ReplayStep()
{
    if (replayNext_ >= replay_.size()) {
        replayTimer_.stop();
        return;
    }
    ShowStep(replay_[replayNext_], replayNext_ * ControlStepMs / 1000.0);
    ++replayNext_;
}
