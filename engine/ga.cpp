// GA: construction, the population, the parameters and the random helpers.
#include "ga.h"

#include "gadraws.h"
#include "processrandom.h"
#include "shufflerandom.h"

namespace {
const char* const nullPopulation = "GA: can't create null sized population";

double ClampRate(double rate)
{
    // Written so that NaN fails both tests and becomes 0.
    if (!(rate > 0.0))
        return 0.0;
    if (rate >= 1.0)
        return 1.0;
    return rate;
}
} // namespace

GA::GA(uint32_t n, uint32_t l) : GA(n, l, ProcessRandom::Generator(), ShuffleRandom::Generator()) {}

GA::GA(uint32_t n, uint32_t l, LcgGenerator& random, ShuffleGenerator& shuffler)
    : random_(&random), shuffler_(&shuffler), populationSize_(n), chromosomeLength_(l)
{
    if (!UseStepKernel(StepKernel::Avx2))
        UseStepKernel(StepKernel::Portable);
    CheckSizes(n, l);
    CreatePopulation(population_);
    Reset();
}

void GA::CheckSizes(uint32_t n, uint32_t l)
{
    if (n == 0)
        throw EGA(nullPopulation);
    if (l == 0)
        BitString{l}; // raises EBitString "BitString: can't create a null sized BitString"
}

Individual& GA::At(uint32_t i)
{
    if (i >= population_.size())
        throw EGA("Population: index out of bounds");
    return population_[i];
}

const Individual& GA::At(uint32_t i) const
{
    if (i >= population_.size())
        throw EGA("Population: index out of bounds");
    return population_[i];
}

void GA::SetPopulationSize(uint32_t n) { SetSizes(n, chromosomeLength_); }

void GA::SetSizes(uint32_t n, uint32_t l)
{
    CheckSizes(n, l);
    // Build first, so that running out of memory leaves the GA as it was.
    const uint32_t oldN = populationSize_;
    const uint32_t oldL = chromosomeLength_;
    populationSize_ = n;
    chromosomeLength_ = l;
    std::vector<Individual> population;
    try {
        CreatePopulation(population);
    } catch (...) {
        populationSize_ = oldN;
        chromosomeLength_ = oldL;
        throw;
    }
    population_.swap(population);
    Reset();
}

void GA::Reset()
{
    generation_ = 0;
    RandomiseAll();
    ClearHistory();
    for (Individual& individual : population_)
        individual.SetFitness(0.0);
    evaluated_ = false;
}

void GA::ClearHistory()
{
    history_.clear();
    fitInfo_.clear();
    historyRevision_.Renew();
}

void GA::SetMutationRate(double rate) { mutationRate_ = ClampRate(rate); }

void GA::SetCrossoverRate(double rate) { crossoverRate_ = ClampRate(rate); }

int GA::RandomBit() { return random_->Draw() & 1; }

double GA::RandomReal()
{
    // Extended precision, as the generator's reals always were: 32767 maps
    // to exactly 1.0.
    return DrawToReal(random_->Draw());
}

void GA::RandomiseAll()
{
    for (uint32_t i = 0; i < populationSize_; ++i)
        RandomiseIndividual(At(i));
}

void GA::RandomiseIndividual(Individual& individual)
{
    for (uint32_t p = 0; p < individual.Size(); ++p)
        individual[p] = static_cast<unsigned char>(RandomBit());
}

void GA::CreatePopulation(std::vector<Individual>& population) const
{
    population.clear();
    population.reserve(populationSize_);
    for (uint32_t i = 0; i < populationSize_; ++i)
        population.emplace_back(chromosomeLength_);
}
