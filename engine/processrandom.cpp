#include "processrandom.h"

namespace {
uint32_t state = 1;

int Step()
{
    state = state * 22695477u + 1u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

// The first value after start-up is thrown away.
const bool discarded = (Step(), true);
} // namespace

int ProcessRandom::Draw() { return Step(); }

void ProcessRandom::RestartForTests()
{
    state = 1;
    Step();
}
