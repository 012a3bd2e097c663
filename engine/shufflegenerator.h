#pragma once
// ShuffleGenerator: the GA's second generator, used only to shuffle the
// mating pool, as a value: std::mt19937 from a seed (the program's is 5489),
// with a bounded draw done by hand so that the result depends only on the
// sequence of calls, not on the standard library. Each instance is
// independent; one instance must not be used by two threads at a time.
#include <cstdint>
#include <random>

class ShuffleGenerator {
public:
    // The program's seed.
    static constexpr uint32_t StartSeed = 5489u;

    explicit ShuffleGenerator(uint32_t seed = StartSeed) : engine_(seed) {}

    // Uniform index in 0 .. n - 1 (n >= 1; 0 for n <= 1, without a draw),
    // without modulo bias.
    uint32_t Below(uint32_t n);

    bool operator==(const ShuffleGenerator& other) const { return engine_ == other.engine_; }

private:
    // std::mt19937's output sequence is fixed by the C++ standard, unlike the
    // standard distributions.
    std::mt19937 engine_;
};
