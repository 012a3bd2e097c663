#include "shufflegenerator.h"

uint32_t ShuffleGenerator::Below(uint32_t n)
{
    if (n <= 1)
        return 0;
    // Reject the top partial bucket of the 2^32 range so that every residue
    // modulo n is equally likely.
    const uint64_t range = uint64_t{1} << 32;
    const uint64_t limit = range - range % n;
    for (;;) {
        const uint64_t x = engine_();
        if (x < limit)
            return static_cast<uint32_t>(x % n);
    }
}
