#pragma once
// Minimum unate covering: choose the fewest columns such that every row is
// covered by at least one chosen column (all columns cost the same).
//
// The search is exact: reductions (essential columns, dominated rows,
// dominated columns), a split into independent blocks, and branch and bound
// on the row with the fewest columns. Nodes are pruned by two lower bounds:
// rows that share no column (each needs a column of its own), and a
// Lagrangian relaxation of the covering constraints, whose reduced costs also
// fix columns in or out. Covers built from the relaxation's multipliers give
// good upper bounds early. A node budget, a time limit and a cancel flag
// bound the work; when one stops the proof, the answer is the best cover
// found and a proven lower bound.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

struct CoverLimits {
    // Search nodes per problem before the proof is given up (0: no limit).
    uint64_t nodeBudget = 0;
    // Time per problem before the proof is given up (0: no limit). Unlike the
    // node budget, the answer then depends on the machine's speed.
    std::chrono::milliseconds timeLimit{0};
    // When set (from any thread), the search stops as soon as it looks.
    const std::atomic<bool>* cancel = nullptr;

    bool Cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

struct CoverResult {
    // Chosen column indices; a cover whenever every row has a column.
    std::vector<int32_t> columns;
    // No cover has fewer columns. Equals columns.size() when the cover is
    // proven minimum.
    int32_t lowerBound = 0;
    // False when some row has no column at all (then no cover exists).
    bool feasible = true;
    // Search nodes used.
    uint64_t nodes = 0;

    bool Exact() const { return feasible && lowerBound == static_cast<int32_t>(columns.size()); }
};

// `columnRows[c]` lists the rows (0 .. rowCount - 1) that column c covers.
CoverResult MinimumCover(int32_t rowCount, const std::vector<std::vector<int32_t>>& columnRows,
                         const CoverLimits& limits = {});
