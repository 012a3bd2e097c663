#pragma once
// The fitness increment of one robot control step: it rewards fast, straight
// motion away from obstacles and lies in 0..1.
#include <cstdint>

// `readings`: the step's eight proximity readings (0..1023); `left`, `right`:
// the wheel speeds the robot reports. Speeds map to 0..1 through
// speed/15 + 1/3 (so -5 -> 0 and 10 -> 1, clamped beyond). The result is
// V * (1 - sqrt|vl - vr|) * (1 - i) with V = 1.5 * |mean speed offset| and
// i = the largest reading / 1023, clamped to 1. Both wheels at 10 or more
// with all readings 0 give 1; any reading of 1023 gives 0.
double FitnessIncrement(const uint32_t readings[8], int left, int right);

// The largest increment, and so the largest robot fitness (a mean of them).
inline constexpr double MaxRobotFitness = 1.0;
