#include "populationtext.h"

#include <charconv>

void PopulationText::AppendInteger(std::string& out, int64_t v)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, result.ptr);
}

void PopulationText::AppendFixed6(std::string& out, double v)
{
    // The largest double has 309 integer digits; with sign, point and six
    // decimals 320 characters always suffice.
    char buffer[330];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
    out.append(buffer, result.ptr);
}
