#pragma once
// Between a PAL's fuse map and sums of products: the AND terms of a
// chromosome as cubes, and a chromosome that programs given cubes.
//
// An AND term with fuse p = 0 of input i set tests input i for 1, with fuse
// p = 1 set tests it for 0; with both set it can never be true.
#include "bitstring.h"
#include "cube.h"
#include "palconfig.h"

#include <vector>

// Per output, the AND terms that can be true, in term order, as cubes. An
// output with no such term is constantly 0; a cube testing nothing is
// constantly 1. The chromosome must hold at least ChromosomeSize bits.
std::vector<std::vector<Cube>> PalTerms(const PalConfig& config, const BitString& chromosome);

// A chromosome of ChromosomeSize bits whose output o is the OR of terms[o]
// (at most NumAndTerms cubes each; an output without cubes is constantly 0).
// The AND terms left over are made never true by setting both fuses of
// input 0. Raises std::invalid_argument when the cubes do not fit.
BitString ProgramTerms(const PalConfig& config, const std::vector<std::vector<Cube>>& terms);
