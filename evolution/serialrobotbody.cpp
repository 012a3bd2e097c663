#include "serialrobotbody.h"

#include "kkhepera.h"
#include "robotcommands.h"

#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
// Sleeps can overshoot by a scheduler tick or so; the last stretch is spun.
constexpr std::chrono::milliseconds SpinMargin{2};
} // namespace

bool SerialRobotBody::ReadProximity(uint32_t readings[8]) { return CommandProximity(khepera_, readings); }

bool SerialRobotBody::ReadSpeeds(int& left, int& right) { return CommandReadSpeed(khepera_, left, right); }

void SerialRobotBody::SetSpeeds(int left, int right) { CommandSetSpeed(khepera_, left, right); }

void SerialRobotBody::StopWheels() { ::StopWheels(khepera_); }

bool SerialRobotBody::Lost() const { return khepera_.Lost(); }

RobotBody::Time SerialRobotBody::Now() { return Clock::now().time_since_epoch(); }

void SerialRobotBody::WaitUntil(Time t)
{
    const Time sleepFor = t - Now() - SpinMargin;
    if (sleepFor > Time::zero())
        std::this_thread::sleep_for(sleepFor);
    while (Now() < t) {
    }
}

void SerialRobotBody::Pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }
