// The two generators of the engine and the GA's views of the process-wide
// one: the fixed sequence, RandomBit, RandomReal (both ends included) and the
// shuffle generator's independence.
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <array>

TEST(ProcessRandom, SequenceAfterStartUpDiscard)
{
    ProcessRandom::RestartForTests();
    const std::array<int, 8> expected{130, 10982, 1090, 11656, 7117, 17595, 6415, 22948};
    for (int value : expected)
        EXPECT_EQ(ProcessRandom::Draw(), value);
}

TEST(ProcessRandom, RestartRepeatsTheSequence)
{
    const std::vector<int> first = DrawsFromStart(1000);
    EXPECT_EQ(DrawsFromStart(1000), first);
    for (int d : first) {
        EXPECT_GE(d, 0);
        EXPECT_LE(d, ProcessRandom::Max);
    }
}

TEST(GARandom, RandomBitIsTheLowBitOfEachDraw)
{
    GA ga(1, 1);
    const std::vector<int> draws = DrawsFromStart(64);
    for (int d : draws)
        EXPECT_EQ(ga.RandomBit(), d & 1);
}

TEST(GARandom, RandomRealScalesDrawsAndIncludesBothEnds)
{
    GA ga(1, 1);
    // Find where the sequence yields 0 and 32767: every 15-bit value turns up
    // within 2^20 draws of this full-period generator.
    const std::vector<int> draws = DrawsFromStart(1 << 20);
    std::size_t zeroAt = draws.size();
    std::size_t maxAt = draws.size();
    for (std::size_t k = 0; k < draws.size(); ++k) {
        if (draws[k] == 0 && zeroAt == draws.size())
            zeroAt = k;
        if (draws[k] == ProcessRandom::Max && maxAt == draws.size())
            maxAt = k;
    }
    ASSERT_LT(zeroAt, draws.size());
    ASSERT_LT(maxAt, draws.size());

    ProcessRandom::RestartForTests();
    for (std::size_t k = 0; k <= std::max(zeroAt, maxAt); ++k) {
        const double r = ga.RandomReal();
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, 1.0);
        EXPECT_NEAR(r, draws[k] / 32767.0, 1e-15);
        if (k == zeroAt) {
            EXPECT_EQ(r, 0.0);
        }
        if (k == maxAt) {
            EXPECT_EQ(r, 1.0);
        }
    }
}

TEST(ShuffleRandom, FixedSeedAndIndependentOfTheProcessGenerator)
{
    ShuffleRandom::RestartForTests();
    std::vector<uint32_t> first;
    for (uint32_t n = 1; n <= 200; ++n)
        first.push_back(ShuffleRandom::Below(n));
    ShuffleRandom::RestartForTests();
    ProcessRandom::RestartForTests();
    for (uint32_t n = 1; n <= 200; ++n) {
        const uint32_t j = ShuffleRandom::Below(n);
        EXPECT_LT(j, n);
        EXPECT_EQ(j, first[n - 1]);
    }
    // Two hundred shuffle draws left the process generator where it was.
    EXPECT_EQ(ProcessRandom::Draw(), 130);
}

TEST(ShuffleRandom, BelowIsRoughlyUniform)
{
    ShuffleRandom::RestartForTests();
    std::array<int, 3> counts{};
    for (int k = 0; k < 30000; ++k)
        ++counts[ShuffleRandom::Below(3)];
    for (int c : counts) {
        EXPECT_GT(c, 9000);
        EXPECT_LT(c, 11000);
    }
}
