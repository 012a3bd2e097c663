// GA construction, access, parameters and resizing.
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <limits>

TEST(GA, ConstructionGivesEngineDefaultsAndARandomPopulation)
{
    const std::vector<int> draws = DrawsFromStart(12);
    GA ga(3, 4);
    EXPECT_EQ(ga.GetPopulationSize(), 3u);
    EXPECT_EQ(ga.GetChromosomeLength(), 4u);
    EXPECT_EQ(ga.GetGeneration(), 0);
    EXPECT_FALSE(ga.IsEvaluated());
    EXPECT_TRUE(ga.History().empty());
    EXPECT_DOUBLE_EQ(ga.GetMutationRate(), 0.005);
    EXPECT_DOUBLE_EQ(ga.GetCrossoverRate(), 0.8);
    EXPECT_EQ(ga.GetRankParents(), 1u);
    EXPECT_EQ(ga.GetSelection(), 0);
    EXPECT_EQ(ga.GetElitism(), 1);
    // One RandomBit per bit, individual 0 first, bit 0 first.
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ga.At(i).Size(), 4u);
        EXPECT_EQ(ga.At(i).GetFitness(), 0.0);
        for (uint32_t p = 0; p < 4; ++p)
            EXPECT_EQ(ga.At(i)[p], draws[i * 4 + p] & 1) << "individual " << i << " bit " << p;
    }
}

TEST(GA, NullSizesAreRefused)
{
    try {
        GA ga(0, 8);
        FAIL() << "no exception";
    } catch (const EGA& e) {
        EXPECT_STREQ(e.what(), "GA: can't create null sized population");
    }
    EXPECT_THROW(GA(4, 0), EBitString);
}

TEST(GA, AtIsBoundsChecked)
{
    GA ga(5, 3);
    const GA& constGa = ga;
    EXPECT_NO_THROW(ga.At(4));
    EXPECT_NO_THROW(constGa.At(4));
    for (uint32_t bad : {5u, 6u, static_cast<uint32_t>(-1)}) {
        try {
            ga.At(bad);
            FAIL() << "no exception for " << bad;
        } catch (const EGA& e) {
            EXPECT_STREQ(e.what(), "Population: index out of bounds");
        }
        EXPECT_THROW(constGa.At(bad), EGA);
    }
}

TEST(GA, RatesAreClampedToZeroOne)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double given;
        double stored;
    } rows[] = {
        {1.7, 1.0}, {-0.2, 0.0}, {0.3, 0.3}, {0.0, 0.0}, {1.0, 1.0},
        {inf, 1.0}, {-inf, 0.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    GA ga(2, 2);
    for (const auto& row : rows) {
        ga.SetMutationRate(row.given);
        ga.SetCrossoverRate(row.given);
        EXPECT_EQ(ga.GetMutationRate(), row.stored) << row.given;
        EXPECT_EQ(ga.GetCrossoverRate(), row.stored) << row.given;
    }
}

TEST(GA, CountSettersStoreTheirArgumentUnchecked)
{
    GA ga(4, 2);
    ga.SetRankParents(0);
    EXPECT_EQ(ga.GetRankParents(), 0u);
    ga.SetRankParents(1000);
    EXPECT_EQ(ga.GetRankParents(), 1000u);
    ga.SetElitism(-3);
    EXPECT_EQ(ga.GetElitism(), -3);
    ga.SetElitism(40);
    EXPECT_EQ(ga.GetElitism(), 40);
    ga.SetSelection(7);
    EXPECT_EQ(ga.GetSelection(), 7);
}

namespace {
GA EvolvedGA()
{
    GA ga(4, 6);
    for (int round = 0; round < 2; ++round) {
        for (uint32_t i = 0; i < 4; ++i)
            ga.At(i).SetFitness(i + round);
        ga.RecordGeneration();
        ga.NextGeneration();
    }
    return ga;
}

void ExpectFreshState(const GA& ga, uint32_t n, uint32_t l)
{
    EXPECT_EQ(ga.GetPopulationSize(), n);
    EXPECT_EQ(ga.GetChromosomeLength(), l);
    EXPECT_EQ(ga.GetGeneration(), 0);
    EXPECT_FALSE(ga.IsEvaluated());
    EXPECT_TRUE(ga.History().empty());
    EXPECT_TRUE(ga.GetFitInfo().empty());
    EXPECT_THROW(ga.At(n), EGA);
    for (uint32_t i = 0; i < n; ++i) {
        EXPECT_EQ(ga.At(i).Size(), l);
        EXPECT_EQ(ga.At(i).GetFitness(), 0.0);
    }
}
} // namespace

TEST(GA, ResetAndResizingStartAfresh)
{
    GA reset = EvolvedGA();
    reset.GetFitInfo();
    reset.Reset();
    ExpectFreshState(reset, 4, 6);

    GA resized = EvolvedGA();
    resized.SetSizes(7, 9);
    ExpectFreshState(resized, 7, 9);

    GA repopulated = EvolvedGA();
    repopulated.SetPopulationSize(3);
    ExpectFreshState(repopulated, 3, 6);
}

TEST(GA, RefusedResizeChangesNothing)
{
    GA ga = EvolvedGA();
    const GASnapshot before(ga);
    EXPECT_THROW(ga.SetSizes(0, 5), EGA);
    EXPECT_THROW(ga.SetPopulationSize(0), EGA);
    EXPECT_THROW(ga.SetSizes(5, 0), EBitString);
    EXPECT_TRUE(GASnapshot(ga) == before);
}

TEST(GA, CopiesAreDeep)
{
    GA original(2, 4);
    SetBits(original.At(0), "0000");
    GA copy = original;
    copy.At(0)[1] = 1;
    copy.At(0).SetFitness(3.0);
    copy.RecordGeneration();
    EXPECT_EQ(Bits(original.At(0)), "0000");
    EXPECT_EQ(original.At(0).GetFitness(), 0.0);
    EXPECT_TRUE(original.History().empty());
}
