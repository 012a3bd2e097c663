#pragma once
// The best controller of the robot PAL from a set of start places, found
// exactly by branch and bound. The tree fixes one table entry at a time; a
// node's bound is the sum over places of the best run any controller that
// agrees with the entries fixed so far can make there (BestFromPlace), which
// no controller below the node can beat. A node whose bound falls short of
// the best controller found so far is dropped; places are bounded one by one
// and the node is dropped as soon as the sum, with the parent's bounds for
// the places not yet done, falls short.
#include "bitstring.h"
#include "palconfig.h"
#include "placebound.h"

#include <vector>

// A controller: the 4 output bits (output 0 highest) of each input
// combination (input 0 highest).
using ControllerTable = std::array<int, 16>;

// The PAL that holds any table: 4 inputs, one AND term per combination, 4
// outputs.
inline constexpr PalConfig RobotTablePal {4, 16, 4};

// The table as a chromosome of RobotTablePal: term c of output o is the
// minterm of combination c where the table sets that output, else a term
// that needs input 0 both set and clear, which is never true.
BitString TableChromosome(const ControllerTable& table);

struct BestControllerResult {
    bool found = false;   // false: no controller reaches the floor
    double mean = 0.0;    // the best controller's mean over the places
    ControllerTable table {};
    uint64_t nodes = 0;   // tree nodes searched, for the record
};

// The best controller whose mean over `starts` is at least `floor` (a mean
// already reached, by a quick search, makes the exact one fast). Entries no
// run reads are given the motor table's first speed on both wheels.
BestControllerResult BestController(const ksim::Arena& arena, const std::vector<ksim::Pose>& starts,
                                    const MotorTable& motor, uint32_t threshold, int runLengthSeconds,
                                    double floor);
