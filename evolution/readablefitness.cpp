#include "readablefitness.h"

#include <charconv>
#include <cmath>

std::string ReadableFitness(double value)
{
    if (!std::isfinite(value)) {
        char buffer[8];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        return std::string(buffer, end);
    }
    // Fixed notation, so no locale is involved; wide enough for any double.
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4).ptr;
    std::string text(buffer, end);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}
