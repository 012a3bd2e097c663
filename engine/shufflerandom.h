#pragma once
// The second generator of the GA, used only to shuffle the mating pool. It is
// separate from the process-wide generator (ProcessRandom), so the shuffle
// never changes which values the selection, crossover, mutation and elitism
// draw. It starts from a fixed seed and is never re-seeded: every run of the
// program shuffles the same way.
#include <cstdint>

namespace ShuffleRandom {
// Uniform index in 0 .. n - 1 (n >= 1), without modulo bias. The result only
// depends on the sequence of calls, not on the compiler's standard library.
uint32_t Below(uint32_t n);

// For tests only: put the generator back to its start-up state.
void RestartForTests();
} // namespace ShuffleRandom
