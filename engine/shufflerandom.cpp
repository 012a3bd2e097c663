#include "shufflerandom.h"

#include <random>

namespace {
// std::mt19937's output sequence is fixed by the C++ standard, unlike the
// standard distributions, so the bounded draw below is done by hand.
constexpr std::mt19937::result_type seed = 5489u;
std::mt19937 engine(seed);
} // namespace

uint32_t ShuffleRandom::Below(uint32_t n)
{
    if (n <= 1)
        return 0;
    // Reject the top partial bucket of the 2^32 range so that every residue
    // modulo n is equally likely.
    const uint64_t range = uint64_t{1} << 32;
    const uint64_t limit = range - range % n;
    for (;;) {
        const uint64_t x = engine();
        if (x < limit)
            return static_cast<uint32_t>(x % n);
    }
}

void ShuffleRandom::RestartForTests() { engine.seed(seed); }
