#pragma once

#include "kinematics.h"

#include <optional>
#include <string_view>

namespace ksim {

// Parses "x,y,heading": x and y in arena mm (origin at the arena centre),
// heading in degrees counter-clockwise from +x. Nothing when malformed.
std::optional<Pose> parseStartPose(std::string_view text);

} // namespace ksim
