#pragma once
// The simulated Khepera as the window runs it: a TracedRobotBody whose
// steps the "Robot arena" window shows, that records the poses of the run
// being watched (for the replay of "Compute fitness"), and that keeps pace
// with the wall clock while the window's "Real time" is checked.
//
// Everything happens on the GUI thread, inside the robot run: a physics step
// only updates the arena window's state (painted when the GUI next processes
// its events). In real time each step waits until its 10 ms have passed on
// the wall clock, letting the GUI process its events while it waits, so that
// a run takes as long as on the robot and the window stays responsive. A
// stop asked for while pacing ends the pacing: the rest goes in virtual time.
#include "tracedrobotbody.h"

#include <QString>
#include <QVector>

#include <chrono>
#include <functional>

class TFRobotArena;

class WatchedRobotBody : public TracedRobotBody {
public:
    // `processEvents` lets the GUI handle its events once (while waiting in
    // real time); `paced` says whether steps keep pace with the wall clock
    // now. The world and the window must outlive the body.
    WatchedRobotBody(ksim::RobotWorld& world, TFRobotArena& arena, std::function<void()> processEvents,
                     std::function<bool()> paced);

    // From now on every control step (0.1 s) of robot time is shown in the
    // arena window, under `caption`, and its pose recorded; the recording
    // starts again with the current pose.
    void StartWatching(const QString& caption);
    // Steps are no longer shown nor recorded (the repositioning walk).
    void StopWatching() { watching_ = false; }
    // The poses since StartWatching: the start pose, then one per control step.
    const QVector<ksim::Pose>& Recording() const { return recording_; }

protected:
    void Stepped() override;

private:
    void KeepPace();

    TFRobotArena& arena_;
    std::function<void()> processEvents_;
    std::function<bool()> paced_;
    bool watching_ = false;
    int64_t watchedFrom_ = 0; // PhysicsSteps() at StartWatching
    QVector<ksim::Pose> recording_;
    // Real-time pacing: the wall-clock moment that matches physics step
    // pacedFrom_; restarted whenever pacing was off for a step.
    bool pacing_ = false;
    int64_t pacedFrom_ = 0;
    std::chrono::steady_clock::time_point pacedSince_;
};
