#pragma once
// Truth-table fitness, written directly on top of the PAL simulation. This is
// the reference that defines the value; FastTruthTableFitness computes the
// same number much faster and is what the program calls in its loops.
#include "palconfig.h"
#include "truthtable.h"

class BitString;

// Number of cells (r, o) of `table` that are not DontCare and equal output o
// of the PAL simulated on input combination r; returned as a double.
// A cell holding anything but 0, 1 or DontCare never matches.
//
// A chromosome shorter than ChromosomeSize is always an error and raises
// EBitString "BitString: index out of bounds" before anything is simulated
// (the simulation alone would miss it when early exits skip the last fuses).
// A table whose size does not match `config` raises std::invalid_argument.
double ComputeFitnessTruthTable(const PalConfig& config, const TruthTable& table, const BitString& chromosome);

// Number of cells that are not DontCare (cells 2 or 7 count, though they can
// never be matched); returned as a double.
double MaxPossibleFitness(const TruthTable& table);

// Raises EBitString "BitString: index out of bounds" when `chromosome` is
// shorter than ChromosomeSize of `config`.
void CheckChromosomeLength(const PalConfig& config, const BitString& chromosome);
