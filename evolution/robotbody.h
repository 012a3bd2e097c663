#pragma once
// "The robot" as the robot run (robotfitness.h) and the repositioning walk
// (repositionkhepera.h) see it: eight proximity sensors, two wheels and a
// clock. Both are written once over this interface; the bodies differ only in
// where readings come from and how time passes:
//
//   SerialRobotBody     the Khepera over its serial link (KKhepera), on the
//                       wall clock;
//   SimulatedRobotBody  a ksim::RobotWorld in virtual time, advanced by its
//                       fixed 10 ms physics steps, with no sleeping.
//
// Calls come from one thread at a time. Nothing here throws by itself; a
// body's commands report failure by their result and zeroed outputs.
#include <chrono>
#include <cstdint>

class RobotBody {
public:
    // A moment of the body's clock, from an arbitrary origin.
    using Time = std::chrono::nanoseconds;

    virtual ~RobotBody() = default;

    // The eight proximity readings, sensor 0 first, each 0..1023 (higher is
    // nearer). On failure all eight are 0 and the result is false.
    virtual bool ReadProximity(uint32_t readings[8]) = 0;
    // The wheel speeds the robot reports, left then right, in robot units
    // (8 mm/s). On failure both are 0 and the result is false.
    virtual bool ReadSpeeds(int& left, int& right) = 0;
    // Commands the wheel speeds, unchanged. Whether the robot obeyed shows
    // only in the log (or as Lost()).
    virtual void SetSpeeds(int left, int right) = 0;
    // Commands 0, 0: the end of every run and walk. A body that has just been
    // Lost() gets a single try.
    virtual void StopWheels() = 0;
    // True once the robot no longer answers at all; from then on nothing it
    // gives means anything.
    virtual bool Lost() const = 0;

    virtual Time Now() = 0;
    // Returns once Now() >= t, at once when it already is.
    virtual void WaitUntil(Time t) = 0;
    // Lets `duration` pass with the wheels as commanded (the walk's pauses).
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// Stops the wheels when it goes out of scope, however the scope is left
// (normal end, early return, exception), unless StopNow already did.
class BodyStopOnExit {
public:
    explicit BodyStopOnExit(RobotBody& body) : body_(body) {}
    ~BodyStopOnExit() { StopNow(); }
    BodyStopOnExit(const BodyStopOnExit&) = delete;
    BodyStopOnExit& operator=(const BodyStopOnExit&) = delete;

    void StopNow()
    {
        if (armed_)
            body_.StopWheels();
        armed_ = false;
    }

private:
    RobotBody& body_;
    bool armed_ = true;
};
