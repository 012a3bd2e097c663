#pragma once
// The simulated Khepera as a RobotBody, in virtual time: readings come from
// a ksim::RobotWorld, commanded speeds go straight into it, and time passes
// only by advancing the world in its fixed 10 ms physics steps (no sleeping,
// no serial line). A control step of 0.1 s is therefore exactly ten physics
// steps, and a run of L seconds exactly 10 x L control steps, however fast
// the machine is. The body never gets lost.
#include "robotbody.h"
#include "robot_world.h"

#include <cstdint>

class SimulatedRobotBody : public RobotBody {
public:
    // The world belongs to the caller and must outlive the body; the body's
    // clock starts at 0 and counts only the steps the body itself makes.
    explicit SimulatedRobotBody(ksim::RobotWorld& world) : world_(world) {}

    // The world's readings (with its sensor noise).
    bool ReadProximity(uint32_t readings[8]) override;
    // The speeds last commanded, as the robot's "E" reports them.
    bool ReadSpeeds(int& left, int& right) override;
    void SetSpeeds(int left, int right) override;
    void StopWheels() override { SetSpeeds(0, 0); }
    bool Lost() const override { return false; }

    // Physics steps made x 10 ms.
    Time Now() override { return steps_ * PhysicsStep; }
    // Advances the world step by step until Now() >= t: a wait ends on the
    // first whole step at or after t.
    void WaitUntil(Time t) override;
    void Pause(std::chrono::milliseconds duration) override { WaitUntil(Now() + duration); }

    ksim::RobotWorld& World() { return world_; }
    const ksim::RobotWorld& World() const { return world_; }
    int64_t PhysicsSteps() const { return steps_; }

    static constexpr std::chrono::milliseconds PhysicsStep{10};

protected:
    // Called after every physics step, the world already advanced: where a
    // watcher records the trail or paces the run. The base does nothing.
    virtual void Stepped() {}

private:
    ksim::RobotWorld& world_;
    int64_t steps_ = 0;
};
