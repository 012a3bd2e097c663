#pragma once
// The least number of AND terms each output of a truth table needs: a
// minimum sum of products of the output, free to use its don't-care cells.
// The PAL shares no AND term between outputs, so the largest of these
// per-output minima is the least NumAndTerms with which a PAL can reproduce
// every cell of the table.
//
// Each output: its prime implicants (primeimplicants.h), then a minimum set
// of them covering the on-set (setcover.h). When the limits stop the proof,
// an output keeps the best cover found and a proven lower bound.
#include "cube.h"
#include "setcover.h"
#include "tablecells.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// What the window allows each output before it shows "between" instead of
// a proven minimum: most tables of up to 10 inputs are proven in well under
// a second; the hardest constructed ones are not proven in minutes (see the
// README's benchmark).
inline constexpr uint64_t DefaultCoverNodeBudget = 1'000'000;
inline constexpr std::chrono::milliseconds DefaultCoverTimeLimit{2000};

struct OutputCover {
    // The best sum of products found (a minimum one when Exact()).
    std::vector<Cube> terms;
    // No sum of products of this output has fewer terms.
    int32_t lowerBound = 0;
    uint64_t nodes = 0;

    int32_t Terms() const { return static_cast<int32_t>(terms.size()); }
    bool Exact() const { return lowerBound == Terms(); }
};

struct TableCover {
    std::vector<OutputCover> outputs;
    // Stopped by the cancel flag: the outputs are incomplete, use nothing.
    bool cancelled = false;

    // AND terms per output used by the covers found (the largest cover).
    int32_t Terms() const;
    // The PAL needs at least this many AND terms per output.
    int32_t LowerBound() const;
    bool Exact() const { return LowerBound() == Terms(); }
};

// One output: `column` holds its 2^numInputs cells (1 on, DontCare free,
// anything else 0).
OutputCover MinimumOutputCover(const std::vector<int32_t>& column, int32_t numInputs, const CoverLimits& limits);

// Every output of a row-major table of 2^numInputs x numOutputs cells. The
// node budget holds for each output.
TableCover MinimumTableCover(const TruthTable& cells, int32_t numInputs, int32_t numOutputs,
                             const CoverLimits& limits);

// "Needs at least 5 AND terms: output 0 needs 5, output 1 needs 3." or, where
// a proof was stopped, "Needs between 17 and 19 AND terms: output 0 needs
// between 17 and 19, output 1 needs 3."
std::string DescribeTableCover(const TableCover& cover);
