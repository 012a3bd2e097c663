#pragma once
// What goes into a GAL: which signal sits on which pin, and the sum of
// products of every output, as the fitter (galfit.h) chooses it or as a
// caller states it pin by pin.
#include "cube.h"
#include "galdevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* DefaultGalSignature = "Orvik";

struct GalDesign {
    GalType type = GalType::Gal22V10;
    // Up to 8 printable ASCII characters, kept in the device's signature row.
    std::string signature = DefaultGalSignature;

    // The signals the cubes test (cube input i, see cube.h): the pin of each,
    // a dedicated input or an output's pin (its feedback), and its name.
    int32_t numInputs = 0;
    std::vector<int32_t> inputPins;
    std::vector<std::string> inputNames;

    // Per output: its pin (a cell), name and AND terms (no terms: constantly
    // 0; a cube testing nothing: constantly 1).
    std::vector<int32_t> outputPins;
    std::vector<std::string> outputNames;
    std::vector<std::vector<Cube>> terms;
    // Per output, when not empty: the pin is the complement of the sum.
    std::vector<bool> activeLow;
    // Per output, when not empty: the term that enables the pin's driver
    // (none: always driven).
    std::vector<std::optional<Cube>> enables;
    // Optional descriptions of the signals for the pin-out (truth-table names).
    std::vector<std::string> inputLabels;
    std::vector<std::string> outputLabels;

    int32_t NumOutputs() const { return static_cast<int32_t>(outputPins.size()); }
    bool ActiveLow(int32_t o) const { return !activeLow.empty() && activeLow[static_cast<std::size_t>(o)]; }
    const std::optional<Cube>& Enable(int32_t o) const;
    // The GAL16V8 needs its complex mode: an input on pin 15 or 16, an
    // output's feedback, or an output-enable term.
    bool NeedsComplexMode() const;
    // The device in the mode this design needs.
    GalDevice Device() const { return MakeGalDevice(type, NeedsComplexMode()); }
};

// Why `signature` cannot be a signature, or empty when it can.
std::string GalSignatureProblem(std::string_view signature);

// The device's fuses for `design`, 0 or 1 each: used outputs' rows hold
// their terms and their unused rows are never true; unused cells are
// disabled (output enable never true; the GAL16V8's set as inputs). Raises
// std::invalid_argument when the design does not fit the device.
std::vector<uint8_t> GalFuseMap(const GalDesign& design);

// "Pin 14  O0" lines, one per signal, in pin order, for file comments.
std::vector<std::string> GalPinOut(const GalDesign& design);
