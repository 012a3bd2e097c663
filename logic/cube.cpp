#include "cube.h"

std::string CubeText(const Cube& cube, int32_t numInputs)
{
    std::string text(static_cast<std::size_t>(numInputs), '-');
    for (int32_t i = 0; i < numInputs; ++i) {
        const uint32_t bit = InputBit(numInputs, i);
        if (cube.care & bit)
            text[static_cast<std::size_t>(i)] = (cube.value & bit) ? '1' : '0';
    }
    return text;
}
