#pragma once
// The (1+λ) evolution strategy: a generation step beside GA::NextGeneration
// for the same population. Individual 0 is the parent, individuals 1 .. N-1
// are its λ = N - 1 offspring. The step reads the fitness values the driver
// stored (as NextGeneration does): the fittest offspring (the first of equals)
// replaces the parent when it is at least as fit, so that ties go to the
// offspring and the search can drift across equally fit fuse maps; then every
// offspring is rewritten as a mutant of the parent, with at least one change.
// The offspring carry the parent's fitness until they are evaluated again;
// the parent's own value is current, so a driver whose fitness never varies
// needs to evaluate only individuals 1 .. N-1 after a step, while one with a
// noisy fitness evaluates the parent again with them.
//
// Draws come from the GA's own LcgGenerator (GA::Random), in a fixed order, so
// a run is repeatable and GAs with their own generators may run on separate
// threads; the shuffle generator is not used. The generation counter grows
// by one; IsEvaluated(), the history and the GA parameters are not touched.
// A population saved by an ES run is an ordinary population file: loaded
// again, it continues with either step.
#include "ga.h"

#include <cstdint>

struct ESMutation {
    enum class Kind {
        // Each bit flipped with probability `rate`.
        PerBit,
        // Exactly `bits` distinct bits flipped.
        ExactBits,
        // Each fuse pair (an AND term's two fuses of one input: bits 2j and
        // 2j + 1) changed with probability `rate` to one of its three other
        // states (free, needs 1, needs 0, never true), chosen uniformly.
        FusePairs,
    };
    Kind kind = Kind::PerBit;
    // Per bit (PerBit) or per pair (FusePairs); 0 or below, or NaN, means
    // one expected change per offspring: 1/L per bit, 2/L per pair.
    double rate = 0.0;
    uint32_t bits = 1; // ExactBits; at most L are flipped
};

// The probability a PerBit or FusePairs mutation uses on chromosomes of
// `length` bits (the default resolved, values above 1 clamped to 1).
double ESMutationRate(const ESMutation& mutation, uint32_t length);

// One generation of the (1+λ) evolution strategy on `ga`, whose population
// must hold at least 2 individuals of GetChromosomeLength() bits.
//
// Draws, offspring 1 .. N-1 in order:
//  - PerBit: one draw per bit, bit p flipped when DrawToReal(draw) < rate;
//    when no bit was flipped the offspring is drawn again, L draws more;
//  - ExactBits: per flipped bit one draw (two, high 15 bits first, when
//    L > 32768) giving position draw mod L, drawn again while that position
//    was already taken;
//  - FusePairs: per pair one draw, and when DrawToReal(draw) < rate a second
//    giving the change 1 + draw mod 3 (XORed onto the pair's two bits, bit
//    2j the low one); a last odd bit is flipped on one draw as PerBit does;
//    when nothing changed the offspring is drawn again.
// N < 2 raises EGA "GA: the evolution strategy needs a parent and at least one
// offspring"; an individual of another length raises EGA "GA: chromosome
// length differs from the population's"; either before anything changes.
void NextGenerationES(GA& ga, const ESMutation& mutation);
