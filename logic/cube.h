#pragma once
// A cube (product term) over the inputs of a truth table: every input is
// either tested for 0, tested for 1, or free. Rows are numbered as in the
// truth table, input 0 the most significant bit, so input i of n is bit
// (n - 1 - i) of a row number; a cube uses the same bit positions.
#include <cstdint>
#include <string>

struct Cube {
    uint16_t care = 0;  // bit set: the input is tested
    uint16_t value = 0; // the value it must have (a subset of `care`)

    // Whether the term is true for row `row`.
    bool Covers(uint32_t row) const { return (row & care) == value; }
    // Number of inputs the term tests.
    int Literals() const { return __builtin_popcount(care); }

    bool operator==(const Cube&) const = default;
};

// The bit of input i in a row number of a table with numInputs inputs.
inline uint32_t InputBit(int32_t numInputs, int32_t i) { return 1u << (numInputs - 1 - i); }

// "1-0": one character per input, input 0 first; '1' tested for 1, '0'
// tested for 0, '-' free.
std::string CubeText(const Cube& cube, int32_t numInputs);
