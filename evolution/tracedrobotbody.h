#pragma once
// The simulated Khepera as a body that remembers enough of a run to say how
// it ended: the wheel speeds its controller last commanded (the stop at the
// end of every run not counted) and where the robot was at each control step.
//
// A run ends stalled when its controller's last command was 0, 0 (without
// noise a robot standing still sees the same readings for ever, so it never
// moves again), or when the robot's centre stayed within kStallRadiusMm of
// one place for the last kStallWindow of the run: held against a surface,
// spinning on the spot, or rocking to and fro. It ends in contact when its
// body touches a surface.
#include "simulatedrobotbody.h"

#include "kinematics.h"

#include <chrono>
#include <vector>

class TracedRobotBody : public SimulatedRobotBody {
public:
    static constexpr std::chrono::seconds StallWindow{2};
    static constexpr double StallRadiusMm = 10.0;

    using SimulatedRobotBody::SimulatedRobotBody;

    // Forgets what came before: the run about to start is traced from here.
    void StartTrace();

    void SetSpeeds(int left, int right) override;
    void StopWheels() override;
    // Advances the world as the base does, then notes where the robot is.
    void WaitUntil(Time t) override;

    // Of the run traced since StartTrace.
    bool Stalled() const;
    bool InContact() const;

private:
    struct Sample {
        Time time;
        ksim::Vec2 position;
    };
    std::vector<Sample> trace_;
    ksim::WheelSpeeds commanded_;
};
