// The generation step against the reference step (reference_step.h), on
// both mutation kernels: randomized parameter sets, the odd ones included
// (rates 0 and 1 and exactly on k / 32767, R and E out of range, selections
// other than 0 and 1, odd N, N = 1), fitness values with ties, NaN, negative
// and infinite values, over many generations. After every generation the
// populations, fitness values, counters, histories, both generator states
// and the log must be identical.
#include "gadraws.h"
#include "ga_test_support.h"
#include "reference_step.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

enum class FitnessKind { Ones, OnesWithNaN, Negative, AllZero, Constant, Spread, WithInfinity, Awkward };

struct Parameters {
    uint32_t n;
    uint32_t l;
    uint8_t selection;
    uint32_t rank;
    int32_t elitism;
    double mutation;
    double crossover;
    FitnessKind fitness;
    uint32_t seed;
    int generations;
    bool rawCells; // start with cells holding values other than 0 and 1

    std::string Describe() const
    {
        std::ostringstream text;
        text.precision(17);
        text << "N " << n << " L " << l << " selection " << int{selection} << " R " << rank << " E " << elitism
             << " mutation " << mutation << " crossover " << crossover << " fitness " << static_cast<int>(fitness)
             << " seed " << seed << (rawCells ? " raw cells" : "");
        return text.str();
    }
};

double FitnessOf(const GA& ga, uint32_t i, FitnessKind kind, int generation)
{
    const Individual& individual = ga.At(i);
    double ones = 0;
    for (uint32_t p = 0; p < individual.Size(); ++p)
        ones += individual[p];
    switch (kind) {
    case FitnessKind::Ones:
        return ones;
    case FitnessKind::OnesWithNaN:
        return (i + static_cast<uint32_t>(generation)) % 4 == 0 ? NaN : ones;
    case FitnessKind::Negative:
        return std::fmod(ones, 5.0) - 3.0;
    case FitnessKind::AllZero:
        return 0.0;
    case FitnessKind::Constant:
        return 2.5;
    case FitnessKind::Spread:
        return ones * 0.1 + (i % 7) * 1e-3;
    case FitnessKind::WithInfinity:
        return i % 9 == 4 ? Inf : ones;
    case FitnessKind::Awkward: {
        // Signed zeros tie, NaN ties with NaN, infinities and denormals.
        const double values[] = {-0.0, 0.0, -Inf, Inf, NaN, -NaN, std::numeric_limits<double>::denorm_min(),
                                 -std::numeric_limits<double>::denorm_min(), ones};
        return values[(i * 7 + static_cast<uint32_t>(generation)) % std::size(values)];
    }
    }
    return 0.0;
}

uint32_t Below(std::mt19937& pick, uint32_t n) { return static_cast<uint32_t>(pick() % n); }

// A rate from the awkward ones, or a random one.
double PickRate(std::mt19937& pick)
{
    const int draw = static_cast<int>(Below(pick, 32768));
    switch (Below(pick, 10)) {
    case 0:
        return 0.0;
    case 1:
        return 1.0;
    case 2:
        return DrawToReal(draw); // exactly on k / 32767
    case 3:
        return std::nextafter(DrawToReal(draw), 0.0);
    case 4:
        return std::nextafter(DrawToReal(draw), 2.0);
    case 5:
        return std::numeric_limits<double>::denorm_min();
    case 6:
        return 0.01;
    default:
        return Below(pick, 1000000) / 1e6 * (Below(pick, 2) ? 1.0 : 0.05);
    }
}

Parameters RandomParameters(std::mt19937& pick)
{
    static const uint32_t lengths[] = {1, 2, 7, 31, 32, 33, 48, 63, 64, 65, 95, 96, 97, 200, 1000};
    static const FitnessKind kinds[] = {FitnessKind::Ones,   FitnessKind::OnesWithNaN, FitnessKind::Negative,
                                        FitnessKind::AllZero, FitnessKind::Constant,   FitnessKind::Spread,
                                        FitnessKind::WithInfinity, FitnessKind::Awkward};
    Parameters p{};
    const uint32_t sizes[] = {1, 2, 3, 4, 5, 17, 100, 1 + Below(pick, 130)};
    p.n = sizes[Below(pick, std::size(sizes))];
    p.l = lengths[Below(pick, std::size(lengths))];
    const uint8_t selections[] = {0, 0, 0, 1, 1, 1, 2, 255};
    p.selection = selections[Below(pick, std::size(selections))];
    const uint32_t ranks[] = {0, 1, 15, p.n, p.n + 1, 1 + Below(pick, p.n + 5)};
    p.rank = ranks[Below(pick, std::size(ranks))];
    const int32_t elitisms[] = {-3, 0, 1, 2, static_cast<int32_t>(p.n) - 1, static_cast<int32_t>(p.n),
                                static_cast<int32_t>(p.n) + 7, static_cast<int32_t>(Below(pick, p.n + 2))};
    p.elitism = elitisms[Below(pick, std::size(elitisms))];
    p.mutation = PickRate(pick);
    p.crossover = PickRate(pick);
    p.fitness = kinds[Below(pick, std::size(kinds))];
    p.seed = Below(pick, UINT32_MAX);
    p.generations = 3 + static_cast<int>(Below(pick, 25));
    p.rawCells = Below(pick, 8) == 0;
    return p;
}

GA Configured(const Parameters& p, LcgGenerator& random, ShuffleGenerator& shuffler)
{
    GA ga(p.n, p.l, random, shuffler);
    ga.SetSelection(p.selection);
    ga.SetRankParents(p.rank);
    ga.SetElitism(p.elitism);
    ga.SetMutationRate(p.mutation);
    ga.SetCrossoverRate(p.crossover);
    if (p.rawCells)
        for (uint32_t i = 0; i < p.n; ++i)
            for (uint32_t q = 0; q < p.l; q += 3)
                if (ga.At(i)[q])
                    ga.At(i)[q] = static_cast<unsigned char>(2 + (i + q) % 250);
    return ga;
}

// Runs both steps side by side; stops at the first difference.
void ExpectSameEvolution(const Parameters& p, GA::StepKernel kernel)
{
    LcgGenerator fastRandom(p.seed);
    ShuffleGenerator fastShuffler(p.seed);
    LcgGenerator referenceRandom(p.seed);
    ShuffleGenerator referenceShuffler(p.seed);
    GA fast = Configured(p, fastRandom, fastShuffler);
    GA reference = Configured(p, referenceRandom, referenceShuffler);
    ASSERT_TRUE(fast.UseStepKernel(kernel));

    for (int g = 0; g < p.generations; ++g) {
        for (uint32_t i = 0; i < p.n; ++i) {
            fast.At(i).SetFitness(FitnessOf(fast, i, p.fitness, g));
            reference.At(i).SetFitness(FitnessOf(reference, i, p.fitness, g));
        }
        fast.RecordGeneration();
        reference.RecordGeneration();
        std::string fastLog;
        std::string referenceLog;
        {
            LogRecorder log;
            fast.NextGeneration();
            fastLog = log.text;
        }
        {
            LogRecorder log;
            ReferenceNextGeneration(reference);
            referenceLog = log.text;
        }
        ASSERT_TRUE(GASnapshot(fast) == GASnapshot(reference)) << p.Describe() << " generation " << g;
        ASSERT_EQ(fastRandom, referenceRandom) << p.Describe() << " generation " << g;
        ASSERT_EQ(fastShuffler, referenceShuffler) << p.Describe() << " generation " << g;
        ASSERT_EQ(fastLog, referenceLog) << p.Describe();
        if (!p.rawCells) {
            for (uint32_t i = 0; i < p.n; ++i)
                ASSERT_EQ(std::memcmp(fast.At(i).Data(), reference.At(i).Data(), p.l), 0) << p.Describe();
        }
    }
}

std::vector<GA::StepKernel> AvailableKernels()
{
    std::vector<GA::StepKernel> kernels{GA::StepKernel::Portable};
    GA probe(1, 1);
    if (probe.UseStepKernel(GA::StepKernel::Avx2))
        kernels.push_back(GA::StepKernel::Avx2);
    return kernels;
}
} // namespace

TEST(GAStepReference, RandomizedParameterSetsOnEveryKernel)
{
    std::mt19937 pick(20240611);
    for (int set = 0; set < 300; ++set) {
        const Parameters p = RandomParameters(pick);
        for (GA::StepKernel kernel : AvailableKernels()) {
            SCOPED_TRACE(kernel == GA::StepKernel::Avx2 ? "AVX2" : "portable");
            ExpectSameEvolution(p, kernel);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(GAStepReference, OddParameterSets)
{
    // {n, l, selection, rank, elitism, mutation, crossover, fitness, seed, generations, raw}
    const Parameters rows[] = {
        {1, 16, 0, 1, 1, 1.0, 1.0, FitnessKind::Ones, 1, 20, false},          // N = 1, E clamped
        {1, 5, 1, 0, 0, 0.5, 0.0, FitnessKind::OnesWithNaN, 2, 20, false},    // N = 1, R clamped
        {2, 33, 0, 1, 1, 0.0, 0.0, FitnessKind::AllZero, 3, 20, false},       // rates 0
        {7, 65, 1, 99, 99, 1.0, 1.0, FitnessKind::Negative, 4, 20, false},    // rates 1, R and E clamped
        {9, 48, 2, 3, 2, 0.01, 0.7, FitnessKind::Spread, 5, 20, false},       // selects nothing
        {11, 48, 255, 3, -4, 0.2, 0.7, FitnessKind::Constant, 6, 20, false},  // selects nothing, E < 0
        {100, 48, 1, 15, 1, 0.01, 0.7, FitnessKind::Ones, 1, 100, false},     // the window's settings
        {100, 48, 0, 15, 1, 0.01, 0.7, FitnessKind::Ones, 1, 60, false},      // with the roulette
        {100, 48, 0, 15, 3, 0.01, 0.7, FitnessKind::WithInfinity, 8, 30, false},
        {100, 48, 0, 15, 3, 0.05, 0.7, FitnessKind::OnesWithNaN, 9, 30, false},
        {100, 8000, 1, 15, 1, 0.01, 0.7, FitnessKind::Ones, 10, 3, false},    // the long chromosome
        {100, 8000, 0, 15, 1, DrawToReal(328), DrawToReal(22937), FitnessKind::Spread, 11, 3, false},
        {13, 100, 1, 5, 2, 0.3, 0.9, FitnessKind::Ones, 12, 10, true},        // cells other than 0 and 1
        {60, 40, 1, 60, 5, 0.1, 0.9, FitnessKind::Awkward, 13, 30, false},    // every pair of odd values
        {60, 40, 0, 60, 5, 0.1, 0.9, FitnessKind::Awkward, 14, 30, false},
    };
    for (const Parameters& p : rows)
        for (GA::StepKernel kernel : AvailableKernels()) {
            SCOPED_TRACE(kernel == GA::StepKernel::Avx2 ? "AVX2" : "portable");
            ExpectSameEvolution(p, kernel);
        }
}

TEST(GAStepReference, TheWindowsStartDrawsTheSameOnTheProcessWidePair)
{
    // GA(N, L) on the process-wide generators, as the window builds it.
    RestartGenerators();
    GA fast(100, 48);
    RestartGenerators();
    GA reference(100, 48);
    for (GA* ga : {&fast, &reference}) {
        ga->SetRankParents(15);
        ga->SetMutationRate(0.01);
        ga->SetCrossoverRate(0.7);
        ga->SetSelection(1);
    }
    LcgGenerator referenceRandom = ProcessRandom::Generator();
    ShuffleGenerator referenceShuffler = ShuffleRandom::Generator();
    reference.UseGenerators(referenceRandom, referenceShuffler);
    for (int g = 0; g < 50; ++g) {
        for (uint32_t i = 0; i < 100; ++i) {
            fast.At(i).SetFitness(FitnessOf(fast, i, FitnessKind::Ones, g));
            reference.At(i).SetFitness(FitnessOf(reference, i, FitnessKind::Ones, g));
        }
        fast.NextGeneration();
        ReferenceNextGeneration(reference);
        ASSERT_TRUE(GASnapshot(fast) == GASnapshot(reference)) << g;
        ASSERT_EQ(ProcessRandom::Generator(), referenceRandom) << g;
        ASSERT_EQ(ShuffleRandom::Generator(), referenceShuffler) << g;
    }
}

TEST(GAStepReference, AChromosomeOfAnotherLengthIsRefusedBeforeAnyDraw)
{
    LcgGenerator random(5);
    ShuffleGenerator shuffler(5);
    GA ga(6, 8, random, shuffler);
    for (uint32_t i = 0; i < 6; ++i)
        ga.At(i).SetFitness(i);
    ga.At(3) = Individual(5);
    const GASnapshot before(ga);
    const LcgGenerator randomBefore = random;
    const ShuffleGenerator shufflerBefore = shuffler;
    EXPECT_THROW(ga.NextGeneration(), EGA);
    EXPECT_TRUE(GASnapshot(ga) == before);
    EXPECT_EQ(random, randomBefore);
    EXPECT_EQ(shuffler, shufflerBefore);
}
