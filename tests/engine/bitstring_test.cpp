#include "bitstring.h"
#include "individual.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string MessageOf(auto&& action)
{
    try {
        action();
    } catch (const EEngine& e) {
        return e.what();
    }
    return "no exception";
}
} // namespace

TEST(BitString, ConstructionAndBounds)
{
    EXPECT_EQ(MessageOf([] { BitString b(0); }), "BitString: can't create a null sized BitString");
    BitString one(1);
    EXPECT_EQ(one.Size(), 1u);
    EXPECT_EQ(one[0], 0);

    BitString b(8);
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(b[i], 0);
    EXPECT_NO_THROW(b[7]);
    EXPECT_EQ(MessageOf([&] { b[8]; }), "BitString: index out of bounds");
    EXPECT_EQ(MessageOf([&] { b[static_cast<uint32_t>(-1)]; }), "BitString: index out of bounds");
    const BitString& constB = b;
    EXPECT_EQ(MessageOf([&] { constB[8]; }), "BitString: index out of bounds");
}

TEST(BitString, ExceptionsShareTheEngineBase)
{
    try {
        BitString b(0);
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "BitString: can't create a null sized BitString");
    }
}

TEST(BitString, StoredNonZeroReadsBackAsOne)
{
    BitString b(3);
    b[1] = 5;
    EXPECT_EQ(b[1], 1);
    b[1] = 0;
    EXPECT_EQ(b[1], 0);
}

TEST(BitString, EqualityComparesNormalisedBitsAndLength)
{
    BitString a(4), b(4);
    a[2] = 1;
    b[2] = 5; // stored raw until the next access normalises it
    EXPECT_TRUE(a == b);
    b[3] = 1;
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(BitString(3) == BitString(4));
}

TEST(BitString, CopiesAreIndependent)
{
    BitString source(5);
    source[0] = 1;
    BitString copy(source);
    copy[1] = 1;
    EXPECT_EQ(source[1], 0);
    EXPECT_TRUE(copy[0]);

    BitString assigned(12);
    assigned = source;
    EXPECT_EQ(assigned.Size(), 5u);
    EXPECT_TRUE(assigned == source);
    assigned[0] = 0;
    EXPECT_EQ(source[0], 1);

    assigned = assigned; // self-assignment keeps the bits
    EXPECT_EQ(assigned.Size(), 5u);
}

TEST(Individual, FitnessCopiesAndOrdering)
{
    Individual fresh(12);
    EXPECT_EQ(fresh.Size(), 12u);
    EXPECT_EQ(fresh.GetFitness(), 0.0);

    Individual small(8);
    small[3] = 1;
    small.SetFitness(3.5);
    fresh = small;
    EXPECT_EQ(fresh.Size(), 8u);
    EXPECT_EQ(fresh[3], 1);
    EXPECT_EQ(fresh.GetFitness(), 3.5);

    Individual a(4), b(4);
    a.SetFitness(1.0);
    b.SetFitness(7.0);
    EXPECT_TRUE(a == b); // fitness is ignored by equality
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    b.SetFitness(1.0);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);

    a.SetFitness(-2.25);
    EXPECT_EQ(a.GetFitness(), -2.25);
    EXPECT_EQ(MessageOf([] { Individual i(0); }), "BitString: can't create a null sized BitString");
}
