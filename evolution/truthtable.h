#pragma once
// The truth table of truth-table mode: for every input combination the wanted
// value of every output. Stored row by row: 2^NumInputs rows (row r is input
// combination r, input 0 the most significant bit) by NumOutputs columns; the
// cell of row r and output o is element r * NumOutputs + o.
//
// Cell values: 0 (the output must be 0), 1 (the output must be 1) and
// DontCare (-1, shown as "X", ignored by the fitness). Any other value counts
// towards MaxPossibleFitness but never matches an output.
#include "palconfig.h"
#include "tablecells.h"

#include <cstddef>

// A table of 2^NumInputs x NumOutputs cells, all 0.
TruthTable MakeTruthTable(const PalConfig& config);

// Number of cells the table must have for `config`.
std::size_t TruthTableCellCount(const PalConfig& config);

// Raises std::invalid_argument unless `table` has exactly
// TruthTableCellCount(config) cells.
void CheckTruthTableSize(const PalConfig& config, const TruthTable& table);
