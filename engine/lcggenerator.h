#pragma once
// LcgGenerator: the GA's 32-bit linear congruential generator as a value,
// state := state * 22695477 + 1 (mod 2^32), draw = (state >> 16) & 0x7FFF.
// Constructing one from a start state draws and discards one value at once,
// as the program does at start-up: LcgGenerator{1} draws exactly what the
// process-wide generator (ProcessRandom) draws after start-up. Each instance
// is independent; one instance must not be used by two threads at a time.
#include <cstdint>

class LcgGenerator {
public:
    static constexpr int Max = 32767;
    static constexpr uint32_t Multiplier = 22695477u;
    static constexpr uint32_t Increment = 1u;
    // The program's start state.
    static constexpr uint32_t StartState = 1u;

    // Starts at startState and discards one draw.
    explicit LcgGenerator(uint32_t startState = StartState) : state_(startState) { Draw(); }

    // Next draw, 0 .. 32767.
    int Draw()
    {
        state_ = state_ * Multiplier + Increment;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

    // The raw 32-bit state: the next draw is taken from Advance(State()).
    uint32_t State() const { return state_; }
    // Puts the raw state back (no draw is discarded): for code that takes
    // draws in blocks and hands the generator on where it stopped.
    void SetState(uint32_t state) { state_ = state; }

    bool operator==(const LcgGenerator&) const = default;

private:
    uint32_t state_;
};
