#pragma once
// The Khepera on its serial link as a RobotBody, on the wall clock: each
// reading and speed is one command of robotcommands.h (with its log lines,
// retries and recovery), and time passes by sleeping.
#include "robotbody.h"

class KKhepera;

class SerialRobotBody final : public RobotBody {
public:
    // The link belongs to the caller and must outlive the body.
    explicit SerialRobotBody(KKhepera& khepera) : khepera_(khepera) {}

    bool ReadProximity(uint32_t readings[8]) override;
    bool ReadSpeeds(int& left, int& right) override;
    void SetSpeeds(int left, int right) override;
    void StopWheels() override;
    bool Lost() const override;

    // The monotonic high-resolution clock (std::chrono::steady_clock).
    Time Now() override;
    // Sleeps through most of the wait and spins only for the last stretch, so
    // the moment of return is as exact as a busy wait's without keeping a
    // core busy for the whole period.
    void WaitUntil(Time t) override;
    // A plain sleep.
    void Pause(std::chrono::milliseconds duration) override;

private:
    KKhepera& khepera_;
};
