#pragma once
// The process-wide shuffle generator of the window's GA: one ShuffleGenerator
// from the fixed seed, never re-seeded, so every run of the program shuffles
// the same way. It is separate from the process-wide LCG (ProcessRandom), so
// the shuffle never changes which values selection, crossover, mutation and
// elitism draw. A GA handed its own shuffle generator never touches it.
#include "shufflegenerator.h"

namespace ShuffleRandom {
// The one process-wide instance (GUI thread only).
ShuffleGenerator& Generator();

// Uniform index in 0 .. n - 1 from the process-wide instance.
inline uint32_t Below(uint32_t n) { return Generator().Below(n); }

// For tests only: put the process-wide instance back to its start-up state.
void RestartForTests();
} // namespace ShuffleRandom
