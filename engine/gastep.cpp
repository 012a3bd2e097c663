// GA: the generation step and its operators. Every step works on whole
// individuals by value and every bit access is bounds-checked.
#include "ga.h"

#include "console.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// The order of Individual's less-than, reversed: fittest first. A NaN
// fitness counts as less fit than any number, so that the ordering stays
// strict and weak (std::sort may run out of range otherwise).
bool Fitter(const Individual& a, const Individual& b)
{
    const double fa = a.GetFitness();
    const double fb = b.GetFitness();
    if (std::isnan(fa))
        return false;
    return std::isnan(fb) || b < a;
}
} // namespace

void GA::SortFittestFirst() { std::sort(population_.begin(), population_.end(), Fitter); }

uint32_t GA::RankParentsForStep() const
{
    return std::clamp<uint32_t>(rankParents_, 1, populationSize_);
}

int32_t GA::ElitismForStep() const
{
    const int64_t last = int64_t{populationSize_} - 1;
    return static_cast<int32_t>(std::min<int64_t>(elitism_, last));
}

void GA::NextGeneration()
{
    // The setters store R and E unchecked and a load may shrink N, so the
    // step clamps them for itself (the stored values stay) and says so.
    const uint32_t rank = RankParentsForStep();
    if (selection_ == 1 && rank != rankParents_)
        ConsolePrintf("Rank parents clamped from %u to %u\n", rankParents_, rank);
    const int32_t elitism = ElitismForStep();
    if (elitism != elitism_)
        ConsolePrintf("Elitism clamped from %d to %d\n", elitism_, elitism);

    std::vector<Individual> pool;
    CreatePopulation(pool);
    SortFittestFirst();
    ConsolePrintf("Sorted\n");
    if (selection_ == 0)
        RouletteSelect(pool);
    else if (selection_ == 1)
        RankSelect(pool);
    ConsolePrintf("Roulette\n");
    Shuffle(pool);
    ConsolePrintf("pairing\n");
    for (uint32_t i = 0; i + 1 < populationSize_; i += 2)
        Crossover(pool[i], pool[i + 1]);
    ConsolePrintf("crossover\n");
    for (Individual& member : pool)
        Mutate(member);
    // E >= 1 carries E + 1 individuals; the fittest goes in last so that no
    // later elite can overwrite it.
    for (int32_t k = elitism; k >= 0 && elitism != 0; --k)
        InsertElite(pool, population_[static_cast<uint32_t>(k)]);
    population_.swap(pool);
    // A loaded file may carry any 32-bit number; count on modulo 2^32
    // rather than overflow.
    generation_ = static_cast<int32_t>(static_cast<uint32_t>(generation_) + 1u);
}

void GA::RouletteSelect(std::vector<Individual>& pool)
{
    if (pool.size() != populationSize_)
        CreatePopulation(pool);
    const double total = TotalFitness();
    for (uint32_t i = 0; i < populationSize_; ++i) {
        const double x = RandomReal() * total;
        pool[i] = population_[RouletteIndex(x)];
    }
}

void GA::RankSelect(std::vector<Individual>& pool)
{
    if (pool.size() != populationSize_)
        CreatePopulation(pool);
    const uint32_t rank = RankParentsForStep();
    for (uint32_t i = 0; i < populationSize_; ++i)
        pool[i] = population_[i % rank];
}

double GA::TotalFitness() const
{
    double total = 0.0;
    for (uint32_t i = 0; i < populationSize_; ++i)
        total += population_[i].GetFitness();
    return total;
}

uint32_t GA::RouletteIndex(double x) const
{
    double sum = 0.0;
    for (uint32_t i = 0; i < populationSize_; ++i) {
        sum += population_[i].GetFitness();
        if (sum >= x)
            return i;
    }
    return populationSize_ - 1;
}

void GA::Shuffle(std::vector<Individual>& pool)
{
    for (std::size_t p = 1; p < pool.size(); ++p) {
        const uint32_t j = shuffler_->Below(static_cast<uint32_t>(p + 1));
        std::swap(pool[p], pool[j]);
    }
}

void GA::Crossover(Individual& a, Individual& b)
{
    if (RandomReal() > crossoverRate_)
        return;
    // cut = L exchanges nothing, cut = 0 the whole chromosomes.
    const auto cut = static_cast<uint32_t>(chromosomeLength_ * RandomReal());
    for (uint32_t p = cut; p < chromosomeLength_; ++p)
        std::swap(a[p], b[p]);
}

void GA::Mutate(Individual& individual)
{
    for (uint32_t p = 0; p < chromosomeLength_; ++p)
        if (RandomReal() < mutationRate_)
            individual[p] = static_cast<unsigned char>(1 - individual[p]);
}

void GA::InsertElite(std::vector<Individual>& pool, const Individual& elite)
{
    const auto target = static_cast<uint32_t>(random_->Draw()) % populationSize_;
    pool.at(target) = elite;
}
