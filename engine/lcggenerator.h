#pragma once
// LcgGenerator: the GA's 32-bit linear congruential generator as a value,
// state := state * 22695477 + 1 (mod 2^32), draw = (state >> 16) & 0x7FFF.
// Constructing one from a start state draws and discards one value at once,
// as the program does at start-up: LcgGenerator{1} draws exactly what the
// process-wide generator (ProcessRandom) draws after start-up. Each instance
// is independent; one instance must not be used by two threads at a time.
#include <cstdint>

// k steps of the generator at once: state after k draws = Multiplier * state +
// Increment (mod 2^32), so draws can be taken several at a time (lanes k + 1,
// k + 2, ... from one state) or skipped without being computed.
struct LcgJump {
    uint32_t multiplier = 1u;
    uint32_t increment = 0u;

    constexpr uint32_t Apply(uint32_t state) const { return multiplier * state + increment; }
    // This jump followed by next.
    constexpr LcgJump Then(const LcgJump& next) const
    {
        return {next.multiplier * multiplier, next.multiplier * increment + next.increment};
    }
    // The jump over k draws, by repeated squaring of the one-step jump.
    static constexpr LcgJump Over(uint64_t k);
};

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

    // Skips k draws without computing them.
    void Discard(uint64_t k);

    bool operator==(const LcgGenerator&) const = default;

private:
    uint32_t state_;
};

constexpr LcgJump LcgJump::Over(uint64_t k)
{
    LcgJump result;
    LcgJump square{LcgGenerator::Multiplier, LcgGenerator::Increment};
    for (; k != 0; k >>= 1) {
        if (k & 1)
            result = result.Then(square);
        square = square.Then(square);
    }
    return result;
}

inline void LcgGenerator::Discard(uint64_t k) { state_ = LcgJump::Over(k).Apply(state_); }
