#include "reference_step.h"

#include "console.h"
#include "ga.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {
bool Fitter(const Individual& a, const Individual& b)
{
    const double fa = a.GetFitness();
    const double fb = b.GetFitness();
    if (std::isnan(fa))
        return false;
    return std::isnan(fb) || b < a;
}

void Crossover(GA& ga, Individual& a, Individual& b)
{
    if (ga.RandomReal() > ga.GetCrossoverRate())
        return;
    const uint32_t l = ga.GetChromosomeLength();
    const auto cut = static_cast<uint32_t>(l * ga.RandomReal());
    for (uint32_t p = cut; p < l; ++p)
        std::swap(a[p], b[p]);
}

void Mutate(GA& ga, Individual& individual)
{
    for (uint32_t p = 0; p < ga.GetChromosomeLength(); ++p)
        if (ga.RandomReal() < ga.GetMutationRate())
            individual[p] = static_cast<unsigned char>(1 - individual[p]);
}
} // namespace

void ReferenceNextGeneration(GA& ga)
{
    const uint32_t n = ga.GetPopulationSize();
    const uint32_t rank = std::clamp<uint32_t>(ga.GetRankParents(), 1, n);
    if (ga.GetSelection() == 1 && rank != ga.GetRankParents())
        ConsolePrintf("Rank parents clamped from %u to %u\n", ga.GetRankParents(), rank);
    const auto elitism = static_cast<int32_t>(std::min<int64_t>(ga.GetElitism(), int64_t{n} - 1));
    if (elitism != ga.GetElitism())
        ConsolePrintf("Elitism clamped from %d to %d\n", ga.GetElitism(), elitism);

    std::vector<Individual> pool;
    ga.CreatePopulation(pool);
    std::vector<Individual> sorted;
    for (uint32_t i = 0; i < n; ++i)
        sorted.push_back(ga.At(i));
    std::sort(sorted.begin(), sorted.end(), Fitter);
    for (uint32_t i = 0; i < n; ++i)
        ga.At(i) = sorted[i];
    ConsolePrintf("Sorted\n");
    if (ga.GetSelection() == 0)
        ga.RouletteSelect(pool);
    else if (ga.GetSelection() == 1)
        ga.RankSelect(pool);
    ConsolePrintf("Roulette\n");
    for (std::size_t p = 1; p < pool.size(); ++p) {
        const uint32_t j = ga.Shuffler().Below(static_cast<uint32_t>(p + 1));
        std::swap(pool[p], pool[j]);
    }
    ConsolePrintf("pairing\n");
    for (uint32_t i = 0; i + 1 < n; i += 2)
        Crossover(ga, pool[i], pool[i + 1]);
    ConsolePrintf("crossover\n");
    for (Individual& member : pool)
        Mutate(ga, member);
    for (int32_t k = elitism; k >= 0 && elitism != 0; --k) {
        const auto target = static_cast<uint32_t>(ga.Random().Draw()) % n;
        pool.at(target) = ga.At(static_cast<uint32_t>(k));
    }
    for (uint32_t i = 0; i < n; ++i)
        ga.At(i) = pool[i];
    ga.SetGeneration(static_cast<int32_t>(static_cast<uint32_t>(ga.GetGeneration()) + 1u));
}
