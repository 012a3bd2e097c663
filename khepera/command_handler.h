#pragma once

#include "robot_world.h"

#include <string>
#include <string_view>

namespace ksim {

// Carries out one command line (without its CR) on the world and returns the
// complete reply line, CR LF included. "D" sets the wheel speeds; "N" reads
// the sensors; "E" reports the commanded speeds; "B" the versions; anything
// else leaves the world alone and gets the error line.
std::string handleCommandLine(RobotWorld &world, std::string_view line);

} // namespace ksim
