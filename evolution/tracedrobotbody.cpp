#include "tracedrobotbody.h"

#include "start_places.h"

void TracedRobotBody::StartTrace()
{
    trace_.clear();
    trace_.push_back({Now(), World().pose().position()});
    commanded_ = World().wheelSpeeds();
}

void TracedRobotBody::SetSpeeds(int left, int right)
{
    commanded_ = {left, right};
    SimulatedRobotBody::SetSpeeds(left, right);
}

void TracedRobotBody::StopWheels() { SimulatedRobotBody::SetSpeeds(0, 0); }

void TracedRobotBody::WaitUntil(Time t)
{
    SimulatedRobotBody::WaitUntil(t);
    trace_.push_back({Now(), World().pose().position()});
}

bool TracedRobotBody::Stalled() const
{
    if (commanded_.left == 0 && commanded_.right == 0)
        return true;
    if (trace_.empty() || trace_.back().time - trace_.front().time < StallWindow)
        return false;
    // The samples of the last StallWindow, and the place the first of them
    // marks: the robot stalled when none of them is farther from it.
    const Time from = trace_.back().time - StallWindow;
    auto sample = trace_.end();
    while (sample != trace_.begin() && (sample - 1)->time >= from)
        --sample;
    const ksim::Vec2 place = sample->position;
    for (; sample != trace_.end(); ++sample)
        if (ksim::length(sample->position - place) > StallRadiusMm)
            return false;
    return true;
}

bool TracedRobotBody::InContact() const { return ksim::touching(World().arena(), World().pose().position()); }
