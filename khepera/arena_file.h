#pragma once
// Arena files: a walled floor with boxes, cylinders and inner walls, written
// one item per line in millimetres, origin at the floor's centre, x to the
// right, y up:
//
//   # anything after '#' is a comment; blank lines are ignored
//   floor 1000 1000             width and height of the walled floor (once, required)
//   box -380 -380 -260 -220     a solid box between two opposite corners x1 y1 x2 y2
//   cylinder -250 250 40        a solid cylinder: centre x y, radius
//   wall -200 0 200 0           a thin inner wall from x1 y1 to x2 y2
//   start 0 0 90                where the robot starts: x y, heading in degrees
//                               counter-clockwise from +x (at most once;
//                               default 0 0 0)
//
// Words and numbers are separated by blanks; numbers are decimal, read the
// same in every locale ("12.5", "-3", "1e3"), and none may lie beyond
// kArenaNumberLimit either way. A UTF-8 byte-order mark before the first
// line is skipped.
#include "arena.h"
#include "kinematics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ksim {

// Far more than any arena a person writes (a line per wall, box or cylinder).
inline constexpr uint64_t kArenaFileMaxBytes = uint64_t{1} << 20;
// 10 km in millimetres: ample for any floor, and small enough that the
// collisions stay exact to a fraction of a millimetre (from about 1e17 the
// body would pass through a wall).
inline constexpr double kArenaNumberLimit = 1e7;

struct ArenaFileContent {
    std::optional<Arena> arena; // empty when the text was refused
    Pose start;                 // clear of every obstacle (see clearStartPose)
    int errorLine = 0;          // 1-based line of the fault; 0 for the whole file
    std::string error;          // what is wrong, one line without the line number
};

// Reads the arena file at `path` as every program does: it must be a regular
// file of at most kArenaFileMaxBytes (see ReadInputFile), else it is refused
// with errorLine 0 and the reason ("not a regular file", "is a directory",
// "No such file or directory", "larger than 1048576 bytes").
ArenaFileContent readArenaFile(const std::string &path);

// The arena a user names: "default" and "open" are the presets (arena_presets.h)
// with the robot starting at 0 0 0; anything else is an arena file's path.
ArenaFileContent chooseArena(const std::string &choice);

// The refusal as one line for the user: "PATH, line N: what" or "PATH: what".
std::string arenaFileProblem(const std::string &path, const ArenaFileContent &content);

// Reads an arena file's text. A fault refuses the whole text: an unknown
// word, a number missing, extra, unreadable or too large, a floor, box or cylinder
// without extent, a wall of no length, a second floor or start, no floor at
// all, or a start that is not clear.
ArenaFileContent parseArenaFile(std::string_view text);

// The start pose with the robot's body pushed clear of any surface it
// overlaps, as the simulator places it; nothing when the centre itself lies
// outside the floor or inside an obstacle.
std::optional<Pose> clearStartPose(const Arena &arena, Pose start);

} // namespace ksim
