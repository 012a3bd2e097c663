// GA: the generation step and its operators.
//
// The step is the composition of the public operators (sort, RouletteSelect
// or RankSelect, shuffle, Crossover per pair, Mutate per member, InsertElite
// per elite), rebuilt so that each phase does only what its draws decide:
// selection, shuffle and crossover work on parent indices and cuts, every
// child is then written once from its parents' cells with its mutation
// flips (gamutation.h), and the elites are copied over. The draws are the
// same values in the same order as those operators take, so the result is
// identical; tests/engine keeps the operator-by-operator step as the
// reference the step is checked against.
#include "ga.h"

#include "console.h"
#include "gadraws.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace {
// A pool slot that selection left empty (selection neither 0 nor 1): an
// all-zero chromosome with fitness 0.
constexpr uint32_t NoParent = UINT32_MAX;

// The sort key of a fitness, fittest highest. The population is sorted by
// Individual's less-than reversed, with NaN counted as less fit than any
// number so that the ordering stays strict and weak (std::sort may run out
// of range otherwise). The keys compare exactly so (-0.0 and 0.0 are the
// same number, NaN is below every number and ties with any NaN), and
// integers compare faster.
uint64_t FitnessKey(double fitness)
{
    if (std::isnan(fitness))
        return 0;
    const auto bits = std::bit_cast<uint64_t>(fitness + 0.0); // -0.0 + 0.0 is 0.0
    const uint64_t sign = uint64_t{1} << 63;
    return (bits & sign) ? ~bits : bits | sign; // -inf gives 2^52 - 1, above 0
}

// RouletteIndex over a precomputed running sum: the first index whose sum is
// >= x, else the last. When the sums never decrease (no negative or NaN
// fitness), "sum >= x" is false then true along them, so a bisection (here
// without branches) finds the same index as the walk.
uint32_t RouletteIndexIn(const std::vector<double>& runningSum, bool nonDecreasing, double x)
{
    const auto size = static_cast<uint32_t>(runningSum.size());
    const double* sums = runningSum.data();
    if (nonDecreasing) {
        // Invariant: the answer lies in [base, base + n].
        uint32_t base = 0;
        for (uint32_t n = size; n > 1;) {
            const uint32_t half = n / 2;
            base = !(sums[base + half - 1] >= x) ? base + half : base;
            n -= half;
        }
        const uint32_t at = base + !(sums[base] >= x);
        return at < size ? at : size - 1;
    }
    for (uint32_t i = 0; i < size; ++i)
        if (sums[i] >= x)
            return i;
    return size - 1;
}
} // namespace

uint32_t GA::RankParentsForStep() const
{
    return std::clamp<uint32_t>(rankParents_, 1, populationSize_);
}

int32_t GA::ElitismForStep() const
{
    const int64_t last = int64_t{populationSize_} - 1;
    return static_cast<int32_t>(std::min<int64_t>(elitism_, last));
}

bool GA::UseStepKernel(StepKernel kernel)
{
    switch (kernel) {
    case StepKernel::Portable:
        buildChildren_ = &BuildChildrenPortable;
        break;
    case StepKernel::Avx2:
#if GA_STEP_HAS_AVX2
        if (!StepAvx2Supported())
            return false;
        buildChildren_ = &BuildChildrenAvx2;
        break;
#else
        return false;
#endif
    }
    stepKernel_ = kernel;
    return true;
}

void GA::NextGeneration()
{
    CheckChromosomeLengths();
    // The setters store R and E unchecked and a load may shrink N, so the
    // step clamps them for itself (the stored values stay) and says so.
    const uint32_t rank = RankParentsForStep();
    if (selection_ == 1 && rank != rankParents_)
        ConsolePrintf("Rank parents clamped from %u to %u\n", rankParents_, rank);
    const int32_t elitism = ElitismForStep();
    if (elitism != elitism_)
        ConsolePrintf("Elitism clamped from %d to %d\n", elitism_, elitism);

    SortOrderFittestFirst();
    ConsolePrintf("Sorted\n");
    SelectParents(rank);
    ConsolePrintf("Roulette\n");
    ShuffleParents();
    ConsolePrintf("pairing\n");
    DrawCuts();
    ConsolePrintf("crossover\n");
    BuildPool();
    InsertElites(elitism);
    population_.swap(step_.pool);
    // A loaded file may carry any 32-bit number; count on modulo 2^32
    // rather than overflow.
    generation_ = static_cast<int32_t>(static_cast<uint32_t>(generation_) + 1u);
}

void GA::CheckChromosomeLengths() const
{
    for (const Individual& individual : population_)
        if (individual.Size() != chromosomeLength_)
            throw EGA("GA: chromosome length differs from the population's");
}

void GA::SortOrderFittestFirst()
{
    // std::sort makes the same comparisons and moves whatever the elements
    // are, so sorting (key, index) pairs by key permutes exactly as sorting
    // the individuals by Fitter does, ties and NaN included.
    std::vector<GAStepBuffers::Ranked>& ranked = step_.ranked;
    ranked.resize(populationSize_);
    for (uint32_t i = 0; i < populationSize_; ++i)
        ranked[i] = {FitnessKey(population_[i].GetFitness()), i};
    std::sort(ranked.begin(), ranked.end(),
              [](const GAStepBuffers::Ranked& a, const GAStepBuffers::Ranked& b) { return a.key > b.key; });
    std::vector<uint32_t>& order = step_.order;
    order.resize(populationSize_);
    for (uint32_t i = 0; i < populationSize_; ++i)
        order[i] = ranked[i].index;
}

void GA::SelectParents(uint32_t rank)
{
    std::vector<uint32_t>& parents = step_.parents;
    const std::vector<uint32_t>& order = step_.order;
    parents.assign(populationSize_, NoParent);
    if (selection_ == 0) {
        // The running sums are those RouletteIndex adds up; the last one is
        // TotalFitness.
        std::vector<double>& runningSum = step_.runningSum;
        runningSum.resize(populationSize_);
        double sum = 0.0;
        bool nonDecreasing = true;
        for (uint32_t i = 0; i < populationSize_; ++i) {
            const double f = population_[order[i]].GetFitness();
            nonDecreasing = nonDecreasing && f >= 0.0;
            sum += f;
            runningSum[i] = sum;
        }
        const double total = sum;
        for (uint32_t i = 0; i < populationSize_; ++i) {
            const double x = DrawToReal(random_->Draw()) * total;
            parents[i] = order[RouletteIndexIn(runningSum, nonDecreasing, x)];
        }
    } else if (selection_ == 1) {
        for (uint32_t i = 0; i < populationSize_; ++i)
            parents[i] = order[i % rank];
    }
}

void GA::ShuffleParents()
{
    std::vector<uint32_t>& parents = step_.parents;
    for (std::size_t p = 1; p < parents.size(); ++p) {
        const uint32_t j = shuffler_->Below(static_cast<uint32_t>(p + 1));
        std::swap(parents[p], parents[j]);
    }
}

void GA::DrawCuts()
{
    std::vector<uint32_t>& cuts = step_.cuts;
    cuts.clear();
    for (uint32_t i = 0; i + 1 < populationSize_; i += 2) {
        // A cut at L exchanges nothing, as a pair that is not crossed.
        uint32_t cut = chromosomeLength_;
        if (!(DrawToReal(random_->Draw()) > crossoverRate_))
            cut = CrossoverCut(chromosomeLength_, random_->Draw());
        cuts.push_back(cut);
    }
}

void GA::BuildPool()
{
    std::vector<Individual>& pool = step_.pool;
    if (pool.size() != populationSize_ || pool.front().Size() != chromosomeLength_)
        CreatePopulation(pool);
    const std::vector<uint32_t>& parents = step_.parents;
    auto cellsOf = [this](uint32_t parent) {
        return parent == NoParent ? nullptr : population_[parent].Data();
    };

    // Child i takes its bits below the cut from its own parent and the rest
    // from its partner's: what Crossover's exchange of the tails leaves.
    std::vector<ChildPlan>& children = step_.children;
    children.resize(populationSize_);
    for (uint32_t i = 0; i < populationSize_; ++i) {
        const bool paired = i + 1 < populationSize_ || i % 2 != 0;
        const uint32_t partner = !paired ? i : i % 2 == 0 ? i + 1 : i - 1;
        const uint32_t cut = paired ? step_.cuts[i / 2] : chromosomeLength_;
        children[i] = {pool[i].MutableData(), cellsOf(parents[i]), cellsOf(parents[partner]), cut};
        pool[i].SetFitness(parents[i] == NoParent ? 0.0 : population_[parents[i]].GetFitness());
    }

    // One draw per bit of every member, in member order.
    step_.flips.resize(std::size_t{chromosomeLength_} + 32);
    buildChildren_(children.data(), children.size(), chromosomeLength_, random_->State(),
                   MutationThreshold(mutationRate_), step_.flips.data());
    random_->Discard(uint64_t{populationSize_} * chromosomeLength_);
}

void GA::InsertElites(int32_t elitism)
{
    // E >= 1 carries E + 1 individuals; the fittest goes in last so that no
    // later elite can overwrite it.
    for (int32_t k = elitism; k >= 0 && elitism != 0; --k) {
        const auto target = static_cast<uint32_t>(random_->Draw()) % populationSize_;
        step_.pool[target] = population_[step_.order[static_cast<uint32_t>(k)]];
    }
}

// --- The operators, for their callers --------------------------------------

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

void GA::Crossover(Individual& a, Individual& b)
{
    if (RandomReal() > crossoverRate_)
        return;
    // cut = L exchanges nothing, cut = 0 the whole chromosomes.
    const uint32_t cut = CrossoverCut(chromosomeLength_, random_->Draw());
    for (uint32_t p = cut; p < chromosomeLength_; ++p)
        std::swap(a[p], b[p]);
}

void GA::Mutate(Individual& individual)
{
    const auto threshold = static_cast<int>(MutationThreshold(mutationRate_));
    for (uint32_t p = 0; p < chromosomeLength_; ++p)
        if (random_->Draw() < threshold)
            individual[p] = static_cast<unsigned char>(1 - individual[p]);
}

void GA::InsertElite(std::vector<Individual>& pool, const Individual& elite)
{
    const auto target = static_cast<uint32_t>(random_->Draw()) % populationSize_;
    pool.at(target) = elite;
}
