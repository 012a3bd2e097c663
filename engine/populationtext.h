#pragma once
// Number formatting for population files. The text is built by hand with
// std::to_chars, which always uses the "C" conventions, so a user locale with
// a decimal comma can never change what is written.
#include <cstdint>
#include <string>

namespace PopulationText {
// Appends v in decimal, as printf "%d" does.
void AppendInteger(std::string& out, int64_t v);

// Appends v in fixed notation with six decimals, exactly as printf "%lf" does
// in the "C" locale ("12.000000", "-0.500000", "inf", "nan").
void AppendFixed6(std::string& out, double v);
} // namespace PopulationText
