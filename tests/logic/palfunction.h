#pragma once
// What a PAL computes, as a truth table: 2^NumInputs rows of NumOutputs
// cells, each 0 or 1.
#include "bitstring.h"
#include "evaluatepal.h"
#include "tablecells.h"

inline TruthTable PalFunction(const PalConfig& config, const BitString& chromosome)
{
    TruthTable cells;
    unsigned char in[PalConfig::MaxInputs], out[PalConfig::MaxOutputs];
    for (int32_t r = 0; r < config.NumCombinations(); ++r) {
        CombinationToInputs(config, static_cast<uint32_t>(r), in);
        EvaluatePal(config, chromosome, in, out);
        cells.insert(cells.end(), out, out + config.NumOutputs);
    }
    return cells;
}
