#pragma once
// The PAL configuration and the layout of its fuses inside a chromosome.
//
// A PAL has NumInputs inputs and NumOutputs outputs; each output is the OR of
// NumAndTerms AND terms of its own, and each AND term may be connected to the
// true (fuse p = 0) and to the complemented (fuse p = 1) form of every input.
// The fuses are stored output-major, then by AND term, then by input, then by
// polarity.
//
// Input combinations are numbered 0 .. 2^NumInputs - 1 with input 0 as the
// most significant bit; truth-table row r belongs to combination r.
#include <cstdint>

struct PalConfig {
    static constexpr int MinCount = 1;
    static constexpr int MaxInputs = 10;
    static constexpr int MaxAndTerms = 40;
    static constexpr int MaxOutputs = 10;

    int32_t NumInputs = 4;
    int32_t NumAndTerms = 2;
    int32_t NumOutputs = 3;

    // Number of fuse bits: outputs x terms x inputs x 2.
    int32_t ChromosomeSize() const { return NumOutputs * NumAndTerms * NumInputs * 2; }

    // Bit index of the fuse of output o, AND term t, input i, polarity p.
    int32_t FuseIndex(int32_t o, int32_t t, int32_t i, int32_t p) const
    {
        return ((o * NumAndTerms + t) * NumInputs + i) * 2 + p;
    }

    // 2^NumInputs.
    int32_t NumCombinations() const { return int32_t{1} << NumInputs; }

    // Value of input i in combination r (0 or 1).
    int InputOfCombination(uint32_t r, int32_t i) const
    {
        return static_cast<int>((r >> (NumInputs - 1 - i)) & 1u);
    }

    bool operator==(const PalConfig&) const = default;
};
