#pragma once
// The cells of a truth table, shared by the fitness, the editor and the logic
// tools: 2^NumInputs rows (row r is input combination r, input 0 the most
// significant bit) by NumOutputs columns, stored row by row, so the cell of
// row r and output o is element r * NumOutputs + o.
//
// Cell values: 0 (the output must be 0), 1 (the output must be 1) and
// DontCare (-1, shown as "X").
#include <cstdint>
#include <vector>

using TruthTable = std::vector<int32_t>;

inline constexpr int32_t DontCare = -1;
