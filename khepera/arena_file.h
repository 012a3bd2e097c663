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
// same in every locale ("12.5", "-3", "1e3").
#include "arena.h"
#include "kinematics.h"

#include <optional>
#include <string>
#include <string_view>

namespace ksim {

struct ArenaFileContent {
    std::optional<Arena> arena; // empty when the text was refused
    Pose start;                 // clear of every obstacle (see clearStartPose)
    int errorLine = 0;          // 1-based line of the fault; 0 for the whole file
    std::string error;          // what is wrong, one line without the line number
};

// Reads an arena file's text. A fault refuses the whole text: an unknown
// word, a number missing, extra or unreadable, a floor, box or cylinder
// without extent, a wall of no length, a second floor or start, no floor at
// all, or a start that is not clear.
ArenaFileContent parseArenaFile(std::string_view text);

// The start pose with the robot's body pushed clear of any surface it
// overlaps, as the simulator places it; nothing when the centre itself lies
// outside the floor or inside an obstacle.
std::optional<Pose> clearStartPose(const Arena &arena, Pose start);

} // namespace ksim
