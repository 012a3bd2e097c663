#pragma once
// What the GA makes of one draw (0 .. 32767) of its LcgGenerator: the real
// in [0;1], the crossover cut, and the mutation test as an integer threshold.
// The generation step and the public operators (RandomReal, Crossover,
// Mutate) share these, so they cannot drift apart.
#include "lcggenerator.h"

#include <cstdint>

// draw / 32767 in extended precision, rounded to double: 0 maps to 0.0 and
// 32767 to exactly 1.0. Non-decreasing in draw (a product with a positive
// constant and two roundings, each monotone).
inline double DrawToReal(int draw) { return static_cast<double>(draw * (1.0L / LcgGenerator::Max)); }

// Where a crossover of two chromosomes of length bits cuts for this draw:
// bits x DrawToReal(draw) truncated, 0 .. bits.
inline uint32_t CrossoverCut(uint32_t bits, int draw) { return static_cast<uint32_t>(bits * DrawToReal(draw)); }

// The number T of draws d in 0 .. 32767 with DrawToReal(d) < rate, so that
// "DrawToReal(d) < rate" is exactly "d < T" for every draw: DrawToReal is
// non-decreasing, so the draws that pass form a prefix 0 .. T - 1 of the
// range, and T is found by bisection. Any double is accepted: NaN and
// anything at or below 0.0 give 0 (no draw passes), 1.0 gives 32767 (all but
// the draw 32767), above 1.0 gives 32768.
uint32_t MutationThreshold(double rate);
