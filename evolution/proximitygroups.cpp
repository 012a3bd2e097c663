#include "proximitygroups.h"

#include <algorithm>

Directions GroupProximity(const uint32_t readings[8])
{
    Directions d{};
    for (int k = 0; k < 4; ++k)
        d[k] = std::max(readings[2 * k], readings[2 * k + 1]);
    return d;
}

void ProximityInputs(const Directions& directions, uint32_t threshold, unsigned char inputs[4])
{
    for (int k = 0; k < 4; ++k)
        inputs[k] = directions[k] > threshold ? 1 : 0;
}

std::array<bool, 4> ProximityIndicatorsWhite(const uint32_t readings[8], uint32_t threshold)
{
    const Directions d = GroupProximity(readings);
    std::array<bool, 4> white{};
    for (int k = 0; k < 4; ++k)
        white[k] = !(d[k] < threshold);
    return white;
}
