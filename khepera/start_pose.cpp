#include "start_pose.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace ksim {

std::optional<Pose> parseStartPose(std::string_view text)
{
    // from_chars, unlike strtod, ignores the locale that Qt applications adopt.
    double values[3] = {};
    const char *cursor = text.data();
    const char *const end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, error] = std::from_chars(cursor, end, values[i]);
        if (error != std::errc{} || !std::isfinite(values[i]))
            return std::nullopt;
        cursor = next;
        if (i < 2) {
            if (cursor == end || *cursor != ',')
                return std::nullopt;
            ++cursor;
        }
    }
    if (cursor != end)
        return std::nullopt;
    return Pose{values[0], values[1], normalizedAngle(values[2] * std::numbers::pi / 180.0)};
}

} // namespace ksim
