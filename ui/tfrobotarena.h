#pragma once
// "Robot arena": the window that shows the simulated Khepera inside Orvik.
// It draws the arena, the robot with its sensor rays and the trail of the run
// it is told about, and carries the "Real time" check that paces simulated
// runs at 0.1 s per control step for watching.
//
// It only shows what it is handed, on the GUI thread: a run starts with
// StartRun (the arena and the start pose), each control step adds a pose by
// ShowStep, and the repaint happens whenever the GUI next processes its
// events. Replay animates a recorded run (the last "Compute fitness") with a
// timer, one step per 0.1 s; a new StartRun ends a replay.
#include "arena.h"
#include "kinematics.h"

#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;

// The arena part of the window: paints the last state it was given.
class RobotArenaCanvas : public QWidget {
public:
    explicit RobotArenaCanvas(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {520, 520}; }

    std::optional<ksim::Arena> arena;
    ksim::Pose pose;
    QVector<ksim::Vec2> trail;
    double seconds = 0.0; // robot time of the run shown

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFRobotArena : public QWidget {
    Q_OBJECT
public:
    explicit TFRobotArena(QWidget* parent = nullptr);

    // A new run: the trail starts again at `start`; `caption` says whose run
    // it is ("Generation 3, individual 12").
    void StartRun(const ksim::Arena& arena, const ksim::Pose& start, const QString& caption);
    // The robot's pose after a control step of the run; `seconds` is the
    // run's robot time. Cheap: it only marks the canvas for repainting.
    void ShowStep(const ksim::Pose& pose, double seconds);
    // Shows `poses` (start pose first, one per control step) again from the
    // start, at 0.1 s per step.
    void Replay(const ksim::Arena& arena, const QVector<ksim::Pose>& poses, const QString& caption);
    bool Replaying() const { return replayTimer_.isActive(); }

    // Whether simulated runs should be paced at 0.1 s per control step:
    // "Real time" is checked and the window is shown (a run nobody watches
    // goes flat out).
    bool RealTime() const;

    RobotArenaCanvas* Canvas;
    QCheckBox* CBRealTime;
    QLabel* LRun;

private:
    void ReplayStep();

    QVector<ksim::Pose> replay_;
    int replayNext_ = 0;
    QTimer replayTimer_;
};
