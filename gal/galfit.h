#pragma once
// Fitting a PAL's sums of products into a GAL: input i on the i-th dedicated
// input pin (GalDevice::inputPins), every output on a combinatorial cell,
// active high. Outputs keep the device's cell order when their terms allow;
// otherwise the output needing the most terms takes the largest cell, the
// next the next largest, and so on, which fits whenever any assignment does.
#include "circuitexport.h"
#include "galdesign.h"
#include "setcover.h"

#include <optional>
#include <string>

struct GalFit {
    std::optional<GalDesign> design;
    // Why nothing fits, for the user: "Output 3 needs 12 AND terms; the
    // GAL16V8 allows 8 per output."
    std::string problem;
    // Fewer terms would fit (an exact minimum may help).
    bool tooManyTerms = false;

    explicit operator bool() const { return design.has_value(); }
};

GalFit FitGal(GalType type, const SumOfProducts& circuit, const std::string& signature = DefaultGalSignature);

// The same function as `circuit`, every output re-expressed as a minimum
// sum of products (the smallest found within `limits` when a proof stops).
// No don't-cares: on every input combination the result equals the circuit.
SumOfProducts MinimumSumOfProducts(const SumOfProducts& circuit, const CoverLimits& limits);
