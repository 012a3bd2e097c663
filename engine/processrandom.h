#pragma once
// The process-wide pseudo-random generator shared by the GA engine and the
// robot's repositioning walk: state := state * 22695477 + 1 (mod 2^32),
// draw = (state >> 16) & 0x7FFF. It starts at state 1 with one draw discarded
// and is never re-seeded, so every run of the program sees the same sequence.
#include <cstdint>

namespace ProcessRandom {
constexpr int Max = 32767;

// Next draw, 0 .. 32767.
int Draw();

// For tests only: put the generator back to its start-up state.
void RestartForTests();
} // namespace ProcessRandom
