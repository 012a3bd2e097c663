// The generators a GA is handed: the values they start from (the program's
// start, and the seeds of independent runs), that a GA with its own pair
// evolves exactly as the window's GA on the process-wide pair, that it never
// touches the process-wide pair, that GAs on threads stay independent, and
// what a copy of a GA draws from.
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace {
// Truth-table-free fitness for the tests: the number of ones, plus a share of
// the index so that ties are rare but not absent.
void ScoreOnes(GA& ga)
{
    for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i) {
        const std::string bits = Bits(ga.At(i));
        ga.At(i).SetFitness(static_cast<double>(std::count(bits.begin(), bits.end(), '1')) + (i % 3) * 0.5);
    }
}

void Configure(GA& ga, uint8_t selection)
{
    ga.SetSelection(selection);
    ga.SetRankParents(7);
    ga.SetMutationRate(0.03);
    ga.SetCrossoverRate(0.7);
    ga.SetElitism(2);
}

// generations rounds of score, record, step.
std::vector<GASnapshot> Evolve(GA& ga, int generations)
{
    std::vector<GASnapshot> snapshots;
    for (int g = 0; g < generations; ++g) {
        ScoreOnes(ga);
        ga.RecordGeneration();
        ga.NextGeneration();
        snapshots.emplace_back(ga);
    }
    return snapshots;
}

// The state of the raw LCG after one step from state.
uint32_t Step(uint32_t state) { return state * LcgGenerator::Multiplier + LcgGenerator::Increment; }
} // namespace

TEST(GAGenerators, StartValuesMatchTheProcessWideOnesAndRunSeeds)
{
    RestartGenerators();
    LcgGenerator lcg;
    EXPECT_EQ(lcg, LcgGenerator{1});
    EXPECT_EQ(lcg, ProcessRandom::Generator());
    EXPECT_EQ(lcg.State(), Step(1)); // one draw discarded
    for (int k = 0; k < 1000; ++k)
        ASSERT_EQ(lcg.Draw(), ProcessRandom::Draw()) << k;

    ShuffleGenerator shuffler;
    EXPECT_EQ(shuffler, ShuffleGenerator{5489});
    EXPECT_EQ(shuffler, ShuffleRandom::Generator());
    for (uint32_t n = 1; n < 500; ++n)
        ASSERT_EQ(shuffler.Below(n), ShuffleRandom::Below(n)) << n;

    // Any start state, 0 and the top one included, discards one draw.
    for (uint32_t start : {0u, 2u, 12345u, 0xFFFFFFFFu}) {
        LcgGenerator seeded(start);
        EXPECT_EQ(seeded.State(), Step(start)) << start;
        EXPECT_EQ(static_cast<uint32_t>(seeded.Draw()), (Step(Step(start)) >> 16) & 0x7FFF) << start;
    }
    // Different seeds give different shuffles.
    ShuffleGenerator a(5489), b(5490);
    int same = 0;
    for (int k = 0; k < 64; ++k)
        same += a.Below(1000) == b.Below(1000);
    EXPECT_LT(same, 8);
}

TEST(GAGenerators, OwnPairDrawsWhatTheProcessWidePairDraws)
{
    for (uint8_t selection : {0, 1}) {
        RestartGenerators();
        GA window(30, 48);
        Configure(window, selection);
        const std::vector<GASnapshot> expected = Evolve(window, 40);
        const LcgGenerator processAfter = ProcessRandom::Generator();
        const ShuffleGenerator shuffleAfter = ShuffleRandom::Generator();

        // The process-wide pair is put elsewhere: the GA with its own pair
        // must neither read nor move it.
        RestartGenerators();
        ProcessRandom::Draw();
        const LcgGenerator processBefore = ProcessRandom::Generator();
        const ShuffleGenerator shuffleBefore = ShuffleRandom::Generator();

        LcgGenerator random;
        ShuffleGenerator shuffler;
        GA own(30, 48, random, shuffler);
        EXPECT_EQ(&own.Random(), &random);
        EXPECT_EQ(&own.Shuffler(), &shuffler);
        Configure(own, selection);
        const std::vector<GASnapshot> got = Evolve(own, 40);
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t g = 0; g < got.size(); ++g)
            EXPECT_TRUE(got[g] == expected[g]) << "selection " << int{selection} << " generation " << g;
        EXPECT_EQ(random, processAfter);
        EXPECT_EQ(shuffler, shuffleAfter);
        EXPECT_EQ(ProcessRandom::Generator(), processBefore);
        EXPECT_EQ(ShuffleRandom::Generator(), shuffleBefore);
    }
}

TEST(GAGenerators, GAsOnThreadsMatchTheSameRunsOneAfterTheOther)
{
    // Runs r = 0, 1, 2, 3 seeded as independent runs of seed 7 are.
    constexpr uint32_t seed = 7;
    constexpr int runs = 4;
    auto run = [](uint32_t r) {
        LcgGenerator random(seed + r);
        ShuffleGenerator shuffler(ShuffleGenerator::StartSeed + (seed + r - 1));
        GA ga(40, 64, random, shuffler);
        Configure(ga, static_cast<uint8_t>(r % 2));
        return Evolve(ga, 150).back();
    };
    std::vector<GASnapshot> sequential;
    for (uint32_t r = 0; r < runs; ++r)
        sequential.push_back(run(r));
    EXPECT_FALSE(sequential[0] == sequential[2]); // the seeds matter

    std::vector<std::optional<GASnapshot>> parallel(runs);
    std::vector<std::thread> threads;
    for (uint32_t r = 0; r < runs; ++r)
        threads.emplace_back([&, r] { parallel[r].emplace(run(r)); });
    for (std::thread& t : threads)
        t.join();
    for (uint32_t r = 0; r < runs; ++r)
        EXPECT_TRUE(*parallel[r] == sequential[r]) << "run " << r;
}

TEST(GAGenerators, ACopySharesTheGeneratorsUntilHandedOthers)
{
    LcgGenerator random(3);
    ShuffleGenerator shuffler(3);
    GA original(6, 8, random, shuffler);
    GA copy = original;
    EXPECT_EQ(&copy.Random(), &random);
    EXPECT_EQ(&copy.Shuffler(), &shuffler);
    LcgGenerator expected = random;
    expected.Draw();
    copy.RandomBit();
    EXPECT_EQ(random, expected);

    LcgGenerator otherRandom(3);
    ShuffleGenerator otherShuffler(3);
    copy.UseGenerators(otherRandom, otherShuffler);
    const LcgGenerator before = random;
    const ShuffleGenerator shuffleBefore = shuffler;
    for (uint32_t i = 0; i < 6; ++i)
        copy.At(i).SetFitness(i);
    copy.NextGeneration();
    EXPECT_EQ(random, before);
    EXPECT_EQ(shuffler, shuffleBefore);
    EXPECT_NE(otherRandom, LcgGenerator{3});
    EXPECT_NE(otherShuffler, ShuffleGenerator{3});
}
