#pragma once
// The process-wide generator shared by the window's GA and the robot's
// repositioning walk: one LcgGenerator that starts at state 1 with one draw
// discarded and is never re-seeded, so every run of the program sees the
// same sequence. A GA constructed without generators of its own draws from
// it; a GA handed its own never touches it.
#include "lcggenerator.h"

namespace ProcessRandom {
constexpr int Max = LcgGenerator::Max;

// The one process-wide instance (GUI thread only).
LcgGenerator& Generator();

// Next draw of the process-wide instance, 0 .. 32767.
inline int Draw() { return Generator().Draw(); }

// For tests only: put the process-wide instance back to its start-up state.
void RestartForTests();
} // namespace ProcessRandom
