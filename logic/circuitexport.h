#pragma once
// Writes a sum of products per output (a PAL's AND terms, or a minimum cover)
// for logic-synthesis tools: a Berkeley PLA file of type f, a BLIF model, or
// a Verilog module.
//
// Signals are named I0 .. and O0 .. in every format (BLIF and Verilog need
// plain identifiers); the PLA file carries the labels in .ilb and .ob, the
// others name them in a comment.
#include "cube.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SumOfProducts {
    int32_t numInputs = 0;
    // terms[o]: the AND terms of output o. No terms: constantly 0; a cube
    // testing nothing: constantly 1.
    std::vector<std::vector<Cube>> terms;
    // Names from the truth table (empty: none).
    std::vector<std::string> inputLabels;
    std::vector<std::string> outputLabels;

    int32_t NumOutputs() const { return static_cast<int32_t>(terms.size()); }
};

enum class CircuitFormat { Pla, Blif, Verilog };

// The format a file name asks for: ".pla", ".blif", ".v" (any case).
std::optional<CircuitFormat> CircuitFormatOfPath(std::string_view path);

// PLA of type f: one cube per distinct AND term, with a 1 for every output
// that has it.
std::string FormatPlaCircuit(const SumOfProducts& circuit);
// BLIF model "orvik_pal": one .names per output.
std::string FormatBlif(const SumOfProducts& circuit);
// module orvik_pal(input I0, ..., output O0, ...) with one assign per output.
std::string FormatVerilog(const SumOfProducts& circuit);

std::string FormatCircuit(const SumOfProducts& circuit, CircuitFormat format);
