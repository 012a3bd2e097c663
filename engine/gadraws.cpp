#include "gadraws.h"

uint32_t MutationThreshold(double rate)
{
    // Invariant: every d < low passes, every d >= high fails.
    uint32_t low = 0;
    uint32_t high = LcgGenerator::Max + 1u;
    while (low < high) {
        const uint32_t mid = low + (high - low) / 2;
        if (DrawToReal(static_cast<int>(mid)) < rate)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}
