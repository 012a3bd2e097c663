// The generation step: selection, shuffle, crossover, mutation, elitism, the
// order and number of random draws, and the clamping of R and E.
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {
// A GA whose individual i has the given fitness and a distinct bit pattern
// (i + 1 in binary, least significant bit first, over L bits).
GA MakeGA(uint32_t l, const std::vector<double>& fitness)
{
    GA ga(static_cast<uint32_t>(fitness.size()), l);
    for (uint32_t i = 0; i < fitness.size(); ++i) {
        for (uint32_t p = 0; p < l; ++p)
            ga.At(i)[p] = static_cast<unsigned char>(((i + 1) >> (p % 32)) & 1);
        ga.At(i).SetFitness(fitness[i]);
    }
    return ga;
}

void Quiet(GA& ga, uint8_t selection)
{
    ga.SetSelection(selection);
    ga.SetMutationRate(0.0);
    ga.SetCrossoverRate(1.0);
    ga.SetElitism(0);
}

std::vector<std::string> AllBits(const GA& ga)
{
    std::vector<std::string> bits;
    for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
        bits.push_back(Bits(ga.At(i)));
    return bits;
}

// Like MakeGA, but every individual's bits are scrambled over the whole
// chromosome, so two members differ far beyond any crossover cut.
GA MakeScrambledGA(uint32_t l, const std::vector<double>& fitness)
{
    GA ga = MakeGA(l, fitness);
    for (uint32_t i = 0; i < fitness.size(); ++i)
        for (uint32_t p = 0; p < l; ++p)
            ga.At(i)[p] = static_cast<unsigned char>(((i + 1) * 2654435761u * (p + 7)) >> 31);
    return ga;
}

// What a step with rank selection over all N members, crossover rate 1 and
// no mutation or elitism must leave, worked out independently of the step:
// the population sorted fittest first (all fitness values distinct), shuffled
// by the restarted shuffle generator, then members 2k and 2k + 1 crossed at
// the cut drawn for pair k (two draws per pair: the crossing draw and the
// cut). With odd N the last member stays as the shuffle left it.
// Leaves both generators restarted.
std::vector<std::string> PairedPool(GA& ga)
{
    const uint32_t n = ga.GetPopulationSize();
    const uint32_t l = ga.GetChromosomeLength();
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return ga.At(a).GetFitness() > ga.At(b).GetFitness(); });
    std::vector<std::string> pool;
    for (uint32_t i : order)
        pool.push_back(Bits(ga.At(i)));

    RestartGenerators();
    for (uint32_t p = 1; p < n; ++p)
        std::swap(pool[p], pool[ShuffleRandom::Below(p + 1)]);
    for (uint32_t i = 0; i + 1 < n; i += 2) {
        ga.RandomReal(); // crossing draw: always crossed at rate 1
        const auto cut = static_cast<uint32_t>(l * ga.RandomReal());
        for (uint32_t p = cut; p < l; ++p)
            std::swap(pool[i][p], pool[i + 1][p]);
    }
    RestartGenerators();
    return pool;
}
} // namespace

TEST(GAStep, RankOneFillsThePoolWithTheBest)
{
    GA ga = MakeGA(16, {3, 9, 1, 4, 7, 2, 8, 5});
    Quiet(ga, 1);
    ga.SetRankParents(1);
    const std::string best = Bits(ga.At(1));
    ga.NextGeneration();
    for (uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(Bits(ga.At(i)), best) << i;
        EXPECT_EQ(ga.At(i).GetFitness(), 9.0) << i;
    }
}

TEST(GAStep, RankSelectionCyclesThroughTheRBest)
{
    GA ga = MakeGA(8, {3, 9, 1, 4, 7, 2});
    Quiet(ga, 1);
    ga.SetRankParents(3);
    ga.NextGeneration();
    // Crossover never moves fitness values, so the pool's values show the
    // selection: the three best, twice each.
    std::vector<double> fitness;
    for (uint32_t i = 0; i < 6; ++i)
        fitness.push_back(ga.At(i).GetFitness());
    std::sort(fitness.begin(), fitness.end());
    EXPECT_EQ(fitness, (std::vector<double>{4, 4, 7, 7, 9, 9}));
}

TEST(GAStep, RouletteFollowsTheCumulativeFitness)
{
    // Sorted fitness 8, 7, ..., 1: cumulative 8, 15, 21, 26, 30, 33, 35, 36.
    // The first eight draws times 36 are 0.14, 12.07, 1.20, 12.81, 7.82,
    // 19.33, 7.05 and 25.21, which pick sorted members 0, 1, 0, 1, 0, 2, 0, 3.
    GA ga = MakeGA(12, {5, 8, 1, 3, 7, 2, 6, 4});
    Quiet(ga, 0);
    ga.SetCrossoverRate(0.0); // crosses only on a draw of exactly 0
    const std::vector<int> draws = DrawsFromStart(12);
    for (int k = 8; k < 12; ++k)
        ASSERT_NE(draws[k], 0);
    std::vector<std::string> bitsOfFitness(9);
    for (uint32_t i = 0; i < 8; ++i)
        bitsOfFitness[static_cast<std::size_t>(ga.At(i).GetFitness())] = Bits(ga.At(i));

    RestartGenerators();
    ga.NextGeneration();
    std::vector<double> fitness;
    for (uint32_t i = 0; i < 8; ++i) {
        const double f = ga.At(i).GetFitness();
        fitness.push_back(f);
        EXPECT_EQ(Bits(ga.At(i)), bitsOfFitness[static_cast<std::size_t>(f)]) << i;
    }
    std::sort(fitness.begin(), fitness.end());
    EXPECT_EQ(fitness, (std::vector<double>{5, 6, 7, 7, 8, 8, 8, 8}));
}

TEST(GAStep, RouletteWithAllFitnessZeroPicksSortedMemberZero)
{
    GA ga = MakeGA(10, {0, 0, 0, 0, 0, 0, 0});
    Quiet(ga, 0);
    const std::vector<std::string> before = AllBits(ga);
    ga.NextGeneration();
    const std::string first = Bits(ga.At(0));
    EXPECT_NE(std::find(before.begin(), before.end(), first), before.end());
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(Bits(ga.At(i)), first) << i;
}

TEST(GAStep, UnknownSelectionLeavesAZeroPool)
{
    GA ga = MakeGA(10, {1, 2, 3, 4, 5, 6});
    Quiet(ga, 2);
    ga.NextGeneration();
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(Bits(ga.At(i)), std::string(10, '0')) << i;
        EXPECT_EQ(ga.At(i).GetFitness(), 0.0) << i;
    }
}

TEST(GAStep, OddPopulationLeavesTheLastPoolMemberUncrossed)
{
    GA ga = MakeScrambledGA(64, {1, 2, 3, 4, 5});
    Quiet(ga, 1);
    ga.SetRankParents(5);
    const std::vector<std::string> expected = PairedPool(ga);
    ASSERT_NE(expected[4], expected[3]);
    RestartGenerators();
    ga.NextGeneration();
    EXPECT_EQ(AllBits(ga), expected);
}

TEST(GAStep, PairsAreAdjacentPoolMembers)
{
    GA ga = MakeScrambledGA(64, {6, 1, 8, 3, 5, 2, 7, 4});
    Quiet(ga, 1);
    ga.SetRankParents(8);
    const std::vector<std::string> expected = PairedPool(ga);
    RestartGenerators();
    ga.NextGeneration();
    EXPECT_EQ(AllBits(ga), expected);
}

TEST(GAStep, SingleIndividualIsAMutatedCopy)
{
    for (int32_t elitism : {0, 1}) {
        GA ga = MakeGA(16, {2.5});
        ga.SetMutationRate(1.0);
        ga.SetElitism(elitism); // 1 is clamped to 0: nothing to carry over
        const std::string before = Bits(ga.At(0));
        // Draws: one roulette pick, no pair, one per bit.
        const std::vector<int> draws = DrawsFromStart(18);
        RestartGenerators();
        ga.NextGeneration();
        for (uint32_t p = 0; p < 16; ++p) {
            const bool flipped = draws[1 + p] != ProcessRandom::Max;
            EXPECT_EQ(ga.At(0)[p], (before[p] == '1') != flipped) << p;
        }
        EXPECT_EQ(ga.At(0).GetFitness(), 2.5);
        EXPECT_EQ(ProcessRandom::Draw(), draws[17]);
    }
}

TEST(GAStep, ElitismOneCarriesTheTwoBestBestLast)
{
    // Zero pool, every bit flipped by mutation (rate 1): only the elites are
    // not all ones. Draws: 5 pairs x 2, 10 x 8 bits, then elite 1, elite 0.
    GA ga = MakeGA(8, {1, 2, 3, 10, 4, 9, 5, 6, 7, 8});
    ga.SetSelection(2);
    ga.SetCrossoverRate(1.0);
    ga.SetMutationRate(1.0);
    ga.SetElitism(1);
    const std::string best = Bits(ga.At(3));
    const std::string second = Bits(ga.At(5));
    const std::vector<int> draws = DrawsFromStart(92);
    const uint32_t secondAt = static_cast<uint32_t>(draws[90]) % 10;
    const uint32_t bestAt = static_cast<uint32_t>(draws[91]) % 10;

    RestartGenerators();
    ga.NextGeneration();
    EXPECT_EQ(Bits(ga.At(bestAt)), best);
    EXPECT_EQ(ga.At(bestAt).GetFitness(), 10.0);
    if (secondAt != bestAt) {
        EXPECT_EQ(Bits(ga.At(secondAt)), second);
        EXPECT_EQ(ga.At(secondAt).GetFitness(), 9.0);
    }
    for (uint32_t i = 0; i < 10; ++i)
        if (i != bestAt && i != secondAt) {
            EXPECT_EQ(ga.At(i).GetFitness(), 0.0) << i;
        }
}

TEST(GAStep, TheBestSurvivesEveryGenerationWithElitism)
{
    for (int32_t elitism : {1, 3}) {
        GA ga(12, 24);
        ga.SetMutationRate(0.5);
        ga.SetCrossoverRate(1.0);
        ga.SetElitism(elitism);
        for (uint32_t round = 0; round < 30; ++round) {
            uint32_t bestIndex = 0;
            for (uint32_t i = 0; i < 12; ++i) {
                ga.At(i).SetFitness(static_cast<double>((i * 5 + round * 7) % 12));
                if (ga.At(i).GetFitness() > ga.At(bestIndex).GetFitness())
                    bestIndex = i;
            }
            const std::string best = Bits(ga.At(bestIndex));
            ga.NextGeneration();
            const std::vector<std::string> now = AllBits(ga);
            EXPECT_NE(std::find(now.begin(), now.end(), best), now.end()) << "E " << elitism << " round " << round;
        }
    }
}

TEST(GAStep, ConsumesExactlyTheSpecifiedDraws)
{
    // With crossover rate 1 every pair takes two draws.
    const struct {
        uint8_t selection;
        uint32_t n;
        uint32_t l;
        uint32_t rank;
        int32_t elitism;
        std::size_t draws;
    } rows[] = {
        {0, 10, 8, 1, 1, 10 + 10 + 80 + 2},
        {1, 7, 5, 3, 0, 6 + 35},
        {1, 7, 5, 3, 3, 6 + 35 + 4},
        {2, 4, 3, 1, -1, 4 + 12},
        {0, 1, 4, 1, 1, 1 + 4},       // E clamped to 0
        {1, 3, 2, 9, 5, 2 + 6 + 3},   // R clamped to 3, E to 2
        {1, 6, 3, 0, 2, 6 + 18 + 3},  // R clamped to 1
        {0, 2, 1, 1, 1, 2 + 2 + 2 + 2},
    };
    for (const auto& row : rows) {
        GA ga(row.n, row.l);
        ga.SetSelection(row.selection);
        ga.SetRankParents(row.rank);
        ga.SetElitism(row.elitism);
        ga.SetCrossoverRate(1.0);
        for (uint32_t i = 0; i < row.n; ++i)
            ga.At(i).SetFitness(i);
        const std::vector<int> draws = DrawsFromStart(row.draws + 3);
        RestartGenerators();
        ga.NextGeneration();
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_EQ(ProcessRandom::Draw(), draws[row.draws + k])
                << "selection " << int{row.selection} << " N " << row.n << " E " << row.elitism;
    }
}

TEST(GAStep, ClampsRankAndElitismAtTheStepAndSaysSo)
{
    const struct {
        uint8_t selection;
        uint32_t rank;
        int32_t elitism;
        const char* log;
    } rows[] = {
        {1, 0, 1, "Rank parents clamped from 0 to 1\nSorted\nRoulette\npairing\ncrossover\n"},
        {1, 50, 1, "Rank parents clamped from 50 to 5\nSorted\nRoulette\npairing\ncrossover\n"},
        {1, 5, 5, "Elitism clamped from 5 to 4\nSorted\nRoulette\npairing\ncrossover\n"},
        {1, 9, 70, "Rank parents clamped from 9 to 5\nElitism clamped from 70 to 4\nSorted\nRoulette\npairing\ncrossover\n"},
        {0, 0, 4, "Sorted\nRoulette\npairing\ncrossover\n"}, // R unused by the roulette
        {2, 0, -6, "Sorted\nRoulette\npairing\ncrossover\n"},
    };
    for (const auto& row : rows) {
        GA ga = MakeGA(6, {5, 1, 4, 2, 3});
        ga.SetSelection(row.selection);
        ga.SetRankParents(row.rank);
        ga.SetElitism(row.elitism);
        LogRecorder log;
        ga.NextGeneration();
        EXPECT_EQ(log.text, row.log);
        EXPECT_EQ(ga.GetRankParents(), row.rank);
        EXPECT_EQ(ga.GetElitism(), row.elitism);
    }
}

TEST(GAStep, ShufflesThePoolUniformly)
{
    // Rank selection of all four puts the pool in sorted order; the fitness
    // values travel with the members through crossover, so where the best
    // one ends shows the shuffle.
    GA ga = MakeGA(6, {4, 3, 2, 1});
    Quiet(ga, 1);
    ga.SetRankParents(4);
    int bestAt[4] = {};
    for (int round = 0; round < 400; ++round) {
        for (uint32_t i = 0; i < 4; ++i)
            ga.At(i).SetFitness(4.0 - i);
        ga.NextGeneration();
        for (uint32_t i = 0; i < 4; ++i)
            if (ga.At(i).GetFitness() == 4.0)
                ++bestAt[i];
    }
    for (int count : bestAt) {
        EXPECT_GT(count, 60);
        EXPECT_LT(count, 140);
    }
}

TEST(GAStep, CountsTheGenerationAndKeepsTheEvaluatedFlag)
{
    GA ga(4, 4);
    ga.NextGeneration();
    EXPECT_EQ(ga.GetGeneration(), 1);
    EXPECT_FALSE(ga.IsEvaluated());
    ga.RecordGeneration();
    ga.NextGeneration();
    EXPECT_EQ(ga.GetGeneration(), 2);
    EXPECT_TRUE(ga.IsEvaluated());
}

TEST(GAStep, NotANumberFitnessRanksBelowEverything)
{
    // Forty members, beyond the size at which std::sort stops using a plain
    // insertion sort; every third one has no valid fitness.
    std::vector<double> fitness;
    double best = 0.0;
    for (int i = 0; i < 40; ++i) {
        const double f = i % 3 == 0 ? std::numeric_limits<double>::quiet_NaN() : (i * 17) % 40;
        fitness.push_back(f);
        if (i % 3 != 0)
            best = std::max(best, f);
    }
    GA ga = MakeGA(8, fitness);
    Quiet(ga, 1);
    ga.SetRankParents(1);
    ga.NextGeneration();
    for (uint32_t i = 0; i < 40; ++i)
        EXPECT_EQ(ga.At(i).GetFitness(), best) << i;
}

TEST(GAStep, SameStartSameEvolution)
{
    auto run = [] {
        RestartGenerators();
        GA ga(20, 30);
        ga.SetSelection(1);
        ga.SetRankParents(5);
        ga.SetMutationRate(0.05);
        for (int round = 0; round < 5; ++round) {
            for (uint32_t i = 0; i < 20; ++i) {
                const std::string bits = Bits(ga.At(i));
                ga.At(i).SetFitness(static_cast<double>(std::count(bits.begin(), bits.end(), '1')));
            }
            ga.NextGeneration();
        }
        return AllBits(ga);
    };
    EXPECT_EQ(run(), run());
}

// --- The operators one by one, with the known start of the sequence --------
// The first draws are 130, 10982, 1090, 11656, ...

TEST(GAOperators, CrossoverCutsAtLTimesTheSecondDraw)
{
    GA ga(2, 48);
    Individual a(48);
    Individual b(48);
    SetBits(b, std::string(48, '1'));
    a.SetFitness(1.0);
    b.SetFitness(2.0);
    ga.SetCrossoverRate(1.0);
    ProcessRandom::RestartForTests();
    ga.Crossover(a, b);
    // u = 130/32767 <= 1; cut = floor(48 * 10982/32767) = 16.
    EXPECT_EQ(Bits(a), std::string(16, '0') + std::string(32, '1'));
    EXPECT_EQ(Bits(b), std::string(16, '1') + std::string(32, '0'));
    EXPECT_EQ(a.GetFitness(), 1.0);
    EXPECT_EQ(b.GetFitness(), 2.0);
    EXPECT_EQ(ProcessRandom::Draw(), 1090);
}

TEST(GAOperators, CrossoverHappensWhenTheFirstDrawIsAtMostTheRate)
{
    GA ga(2, 8);
    ProcessRandom::RestartForTests();
    const double u = ga.RandomReal();
    const struct {
        double rate;
        bool crossed;
    } rows[] = {{0.001, false}, {u, true}, {std::nextafter(u, 0.0), false}, {0.0, false}};
    for (const auto& row : rows) {
        Individual a(8);
        Individual b(8);
        SetBits(b, "11111111");
        ga.SetCrossoverRate(row.rate);
        ProcessRandom::RestartForTests();
        ga.Crossover(a, b);
        EXPECT_EQ(Bits(a) != "00000000", row.crossed) << row.rate;
        EXPECT_EQ(ProcessRandom::Draw(), row.crossed ? 1090 : 10982) << row.rate;
    }
}

TEST(GAOperators, MutationDrawsOncePerBit)
{
    const uint32_t l = 64;
    const std::vector<int> draws = DrawsFromStart(l + 1);
    const struct {
        double rate;
        int flipsBelowDraw; // a bit flips when its draw is below this
    } rows[] = {{0.0, 0}, {0.5, 16384}, {1.0, ProcessRandom::Max}};
    for (const auto& row : rows) {
        GA ga(1, l);
        ga.SetMutationRate(row.rate);
        Individual individual(l);
        SetBits(individual, std::string(32, '1') + std::string(32, '0'));
        const std::string before = Bits(individual);
        ProcessRandom::RestartForTests();
        ga.Mutate(individual);
        for (uint32_t p = 0; p < l; ++p)
            EXPECT_EQ(individual[p], (before[p] == '1') != (draws[p] < row.flipsBelowDraw))
                << "rate " << row.rate << " bit " << p;
        EXPECT_EQ(ProcessRandom::Draw(), draws[l]);
    }
}

TEST(GAOperators, MutationRatesZeroAndOneAtTheEndsOfTheDraws)
{
    // Rate 0 never flips, not even on a draw of 0 (RandomReal 0.0); rate 1
    // flips on every draw but 32767 (RandomReal 1.0).
    const std::vector<int> draws = DrawsFromStart(1 << 20);
    for (const auto& [rate, draw] : {std::pair{0.0, 0}, std::pair{1.0, ProcessRandom::Max}}) {
        const auto at = std::find(draws.begin(), draws.end(), draw) - draws.begin();
        ASSERT_LT(at, static_cast<long>(draws.size()));
        GA ga(1, 1);
        ga.SetMutationRate(rate);
        Individual individual(1);
        ProcessRandom::RestartForTests();
        for (long k = 0; k < at; ++k)
            ProcessRandom::Draw();
        ga.Mutate(individual);
        EXPECT_EQ(individual[0], 0) << "rate " << rate;
    }
}

TEST(GAOperators, InsertEliteLandsOnDrawModN)
{
    GA ga(10, 4);
    std::vector<Individual> pool;
    ga.CreatePopulation(pool);
    ASSERT_EQ(pool.size(), 10u);
    Individual elite(4);
    SetBits(elite, "1011");
    elite.SetFitness(6.0);
    ProcessRandom::RestartForTests();
    ga.InsertElite(pool, elite); // 130 mod 10
    ga.InsertElite(pool, elite); // 10982 mod 10
    for (uint32_t i = 0; i < 10; ++i) {
        const bool hit = i == 0 || i == 2;
        EXPECT_EQ(Bits(pool[i]), hit ? "1011" : "0000") << i;
        EXPECT_EQ(pool[i].GetFitness(), hit ? 6.0 : 0.0) << i;
    }
}

TEST(GAOperators, RouletteIndexWalksTheRunningSum)
{
    const struct {
        std::vector<double> fitness;
        double x;
        uint32_t index;
    } rows[] = {
        {{5, 3, 2}, 0.0, 0},   {{5, 3, 2}, 5.0, 0},  {{5, 3, 2}, 5.5, 1}, {{5, 3, 2}, 8.0, 1},
        {{5, 3, 2}, 9.0, 2},   {{5, 3, 2}, 11.0, 2}, {{5, 3, 2}, -1.0, 0},
        {{1, -2, 4}, 0.5, 0},  {{1, -2, 4}, 3.0, 2}, {{1, -2, 4}, 9.0, 2},
        {{0, 0, 0}, 0.0, 0},
    };
    for (const auto& row : rows) {
        GA ga = MakeGA(4, row.fitness);
        EXPECT_EQ(ga.RouletteIndex(row.x), row.index) << row.x;
    }
    GA ga = MakeGA(4, {1.5, -2.0, 4.25});
    EXPECT_EQ(ga.TotalFitness(), 3.75);
}
