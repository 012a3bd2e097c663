#pragma once
// --jedec DEVICE with --save-best: each run's fittest final individual as a
// JEDEC fuse file for a GAL16V8 or GAL22V10, DIR/seed-S.jed beside seed-S.ga.
// There is no one to ask, so when the individual's own AND terms do not fit
// the device, the same function as a minimum sum of products is written.
#include "ga.h"
#include "palconfig.h"

#include <cstdint>
#include <string>

// Why the device cannot take the PAL whatever evolves (too many inputs or
// outputs): "--jedec GAL16V8: The GAL16V8 has 8 output cells; ...", or empty.
std::string JedecDeviceProblem(const std::string& device, const PalConfig& pal);

std::string SavedJedecPath(const std::string& directory, uint32_t seed);

// Writes the file whole (a temporary file renamed over `path`); returns why
// it could not, or an empty string.
std::string WriteBestJedec(const GA& ga, const PalConfig& pal, const std::string& device, const std::string& path);
