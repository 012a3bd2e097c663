#pragma once
// Individual: one member of the population, a chromosome plus the fitness
// the evolution driver last gave it. Equality compares the chromosome only;
// less-than compares the fitness only.
#include "bitstring.h"

class Individual : public BitString {
public:
    explicit Individual(uint32_t length) : BitString(length) {}

    double GetFitness() const { return fitness_; }
    void SetFitness(double fitness) { fitness_ = fitness; }

    bool operator<(const Individual& other) const { return fitness_ < other.fitness_; }

private:
    double fitness_ = 0.0;
};
