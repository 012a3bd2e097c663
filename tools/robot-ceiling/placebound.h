#pragma once
// The best fitness any controller of the robot PAL can reach from one start
// place, found exactly. Without sensor noise the simulated run is fixed by
// the table from input combinations to wheel speeds, and it reads only the
// entries of the combinations it meets. So a depth-first search that picks
// an entry's speeds the first time its combination is met covers every
// table. A branch is dropped once even full marks for every step left could
// not beat the best run found so far.
#include "arena.h"
#include "kinematics.h"
#include "motortable.h"

#include <array>
#include <cstdint>
#include <vector>

// The wheel speeds a controller can command: every pair of the motor
// table's distinct speeds, straight and fast first.
std::vector<ksim::WheelSpeeds> SpeedChoices(const MotorTable& motor);

// A controller in the making: for each input combination the index of its
// speeds in SpeedChoices, or -1 while still open.
using PartialTable = std::array<int, 16>;

struct PlaceBound {
    double fitness = 0.0;  // the best run's mean increment, or the floor
    int firstOpen = -1;    // the open combination the run meets first, -1 if none
    uint64_t branches = 0; // runs searched, for the record
};

// The best run from `start` of any controller that agrees with `fixed`, or
// `floor` when none beats it (runs that cannot are not searched, which is
// what makes a high floor fast).
PlaceBound BestFromPlace(const ksim::Arena& arena, const ksim::Pose& start, const MotorTable& motor,
                         uint32_t threshold, int runLengthSeconds, const PartialTable& fixed,
                         double floor = -1.0);
