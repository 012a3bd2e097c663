#pragma once
// The prime implicants of one output of a truth table: the cubes that hold no
// row of the off-set and cannot be enlarged (no tested input can be freed),
// keeping only those that hold at least one row of the on-set, since only
// those can be needed in a minimum sum of products.
#include "cube.h"

#include <cstdint>
#include <vector>

// `column` holds the output's 2^numInputs cells, row r at index r: 1 is the
// on-set, DontCare is free, anything else the off-set. numInputs is 1 .. 10.
// The cubes come in a fixed order (by their ternary code).
std::vector<Cube> PrimeImplicants(const std::vector<int32_t>& column, int32_t numInputs);
