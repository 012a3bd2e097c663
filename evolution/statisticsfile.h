#pragma once
// The statistics file: the maximum, average and minimum fitness of every
// generation of one or more runs, as comma-separated values
//   run,seed,generation,max,average,min
// one row per generation and run. orvik-batch writes it for its runs and the
// fitness window's "Save statistics..." for the history it plots, so files
// of both concatenate and plot alike.
//
// Numbers are written with std::to_chars, never through a locale: integers
// in decimal, fitness values in the shortest form that reads back as the
// same double ("48", "23.45", "-0.5").
#include "gadata.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace StatisticsFile {
// The header line, "\n" included.
extern const char* const Header;

// Appends the shortest text that reads back as exactly v ("inf", "nan" as
// std::to_chars writes them).
void AppendNumber(std::string& out, double v);
// The same as a string.
std::string Number(double v);

// Appends one row, "\n" included. Without a seed the field stays empty: the
// window's history is not one run of a seeded generator.
void AppendRow(std::string& out, uint32_t run, std::optional<uint32_t> seed, const GAFitInfo& info);

// The whole file for one run (run 0, no seed): the header, then one row per
// record in order.
std::string ForHistory(const std::vector<GAFitInfo>& history);
} // namespace StatisticsFile
