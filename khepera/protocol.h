#pragma once

#include "kinematics.h"
#include "proximity_sensors.h"

#include <string>
#include <string_view>

namespace ksim {

// The robot's serial commands understood here. A command line is its letter
// (either case), then comma-separated decimal arguments; the CR that ends it
// on the wire is not part of the line given to parseCommandLine.
enum class CommandKind {
    SetSpeed,      // "D,<left>,<right>"
    ReadProximity, // "N"
    ReadSpeed,     // "E"
    ReadVersion,   // "B"
    Invalid,       // anything else, including a D with bad arguments
};

struct Command {
    CommandKind kind = CommandKind::Invalid;
    WheelSpeeds speeds; // only for SetSpeed
};

// Largest wheel speed magnitude accepted by "D"; outside it the command is Invalid.
inline constexpr int kMaxWheelSpeed = 127;

// Parses one line. Spaces are allowed around arguments and at the end of the
// line; anything else that does not fit the grammar gives Invalid.
Command parseCommandLine(std::string_view line);

// Reply lines, each ending with CR LF. A valid command is answered by its
// letter in lower case, so the client's echo check (first byte of the reply ==
// first byte of the command | 0x20) passes for both cases of the letter.
std::string setSpeedReply();                                  // "d\r\n"
std::string proximityReply(const ProximityReadings &readings); // "n,v0,...,v7\r\n"
std::string speedReply(WheelSpeeds speeds);                    // "e,left,right\r\n"
std::string versionReply();                                    // "b,<bios>,<protocol>\r\n"

// "z,Protocol error\r\n" — or "Z,Protocol error\r\n" when the line itself starts
// with z or Z, so that an error never passes the client's echo check.
std::string errorReply(std::string_view line);

} // namespace ksim
