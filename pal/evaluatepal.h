#pragma once
#include "palconfig.h"

class BitString;

// Simulates the PAL on one input combination. `inputs` holds NumInputs bytes
// (input 0 first, each 0 or 1); `outputs` receives NumOutputs bytes (0 or 1).
// The chromosome is read through its bounds-checked subscript, so one shorter
// than ChromosomeSize raises "BitString: index out of bounds".
// Allocates nothing. A term stops at its first failing literal and an output
// at its first true term.
void EvaluatePal(const PalConfig& config, const BitString& chromosome,
                 const unsigned char* inputs, unsigned char* outputs);

// Fills `inputs` (NumInputs bytes) with the values of combination r.
void CombinationToInputs(const PalConfig& config, uint32_t r, unsigned char* inputs);
