#pragma once
// The robot's commands over one KKhepera: set the wheel speeds (D), read the
// eight proximity sensors (N), read the two wheel speeds (E), and a raw
// command line typed by the user. None of them throws: failures are logged
// and reported by a false result with zeroed outputs.
#include <QString>

#include <cstdint>

class KKhepera;

// Sends "D,<left>,<right>\r". The speeds go out unchanged (callers limit
// them); whether the robot confirmed shows only in the log.
void CommandSetSpeed(KKhepera& khepera, int left, int right);

// Sends "N\r" and parses "n,%u,%u,%u,%u,%u,%u,%u,%u" into readings[0..7]
// (sensor 0 first), each within 0..MaxProximityReading. On any failure all
// eight readings are 0 and false is returned; a reply with the right letter
// but fewer than 8 values is not retried.
bool CommandProximity(KKhepera& khepera, uint32_t readings[8]);

// The sensors' range is 10 bits; a reading above it is taken as this.
inline constexpr uint32_t MaxProximityReading = 1023;
// The robot's wheel speeds lie within -127..127; a reported speed outside is
// taken as the nearest limit.
inline constexpr int MaxWheelSpeed = 127;

// Sends "D,0,0\r". A link that has just been Lost() gets a single try, so
// that stopping a robot that no longer answers costs one read limit, not three.
void StopWheels(KKhepera& khepera);

// Stops the wheels when it goes out of scope, however the scope is left
// (normal end, early return, exception), unless StopNow already did.
class WheelStopOnExit {
public:
    explicit WheelStopOnExit(KKhepera& khepera) : khepera_(khepera) {}
    ~WheelStopOnExit() { StopNow(); }
    WheelStopOnExit(const WheelStopOnExit&) = delete;
    WheelStopOnExit& operator=(const WheelStopOnExit&) = delete;

    void StopNow()
    {
        if (armed_)
            StopWheels(khepera_);
        armed_ = false;
    }

private:
    KKhepera& khepera_;
    bool armed_ = true;
};

// Sends "E\r" and parses "e,%d,%d" into the left and right wheel speeds,
// each clamped to -MaxWheelSpeed..MaxWheelSpeed. On failure both are 0 and
// false is returned.
bool CommandReadSpeed(KKhepera& khepera, int& left, int& right);

// Sends `text` followed by CR and logs "Received(<0|1>): '<buffer>'". Text
// that would not fit the line buffer with its CR and terminator is cut to
// KKhepera::LineBufferSize - 2 bytes first; characters outside Latin-1 are
// sent as '?'. Returns the outcome of the exchange.
bool SendRawCommand(KKhepera& khepera, const QString& text);

// The reply parsers, with scanf's rules: literals must match, each number
// may be preceded by white space, trailing text is ignored. They return the
// number of values converted (8 and 2 mean success); `reply` is terminated.
// Numbers are read without overflow, however many digits they have:
// proximity readings above MaxProximityReading are stored as it, and a
// negative reading ends the parse there (the reply is then a failed read);
// wheel speeds are clamped to -MaxWheelSpeed..MaxWheelSpeed. So no later
// arithmetic meets a value an odd reply made up.
int ParseProximityReply(const char* reply, uint32_t readings[8]);
int ParseSpeedReply(const char* reply, int& left, int& right);
