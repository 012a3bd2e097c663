#include "bitstring.h"
#include "evaluatepal.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<unsigned char> Evaluate(const PalConfig& c, const BitString& chromosome, uint32_t combination)
{
    std::vector<unsigned char> in(c.NumInputs), out(c.NumOutputs, 7);
    CombinationToInputs(c, combination, in.data());
    EvaluatePal(c, chromosome, in.data(), out.data());
    return out;
}
} // namespace

TEST(PalLayout, DefaultConfiguration)
{
    PalConfig c;
    EXPECT_EQ(c.NumInputs, 4);
    EXPECT_EQ(c.NumAndTerms, 2);
    EXPECT_EQ(c.NumOutputs, 3);
    EXPECT_EQ(c.ChromosomeSize(), 48);
    EXPECT_EQ(c.FuseIndex(1, 0, 2, 0), 20);
    EXPECT_EQ(c.FuseIndex(1, 0, 2, 1), 21);
    EXPECT_EQ(c.FuseIndex(0, 0, 0, 0), 0);
    EXPECT_EQ(c.FuseIndex(0, 1, 3, 1), 15);
    EXPECT_EQ(c.FuseIndex(2, 0, 0, 0), 32);
    EXPECT_EQ(c.FuseIndex(2, 1, 3, 1), 47);
    PalConfig largest{.NumInputs = 10, .NumAndTerms = 40, .NumOutputs = 10};
    EXPECT_EQ(largest.ChromosomeSize(), 8000);
    EXPECT_EQ(largest.NumCombinations(), 1024);
}

TEST(PalLayout, InputZeroIsTheMostSignificantBit)
{
    PalConfig c;
    unsigned char in[4];
    CombinationToInputs(c, 8, in);
    EXPECT_EQ((std::vector<int>{in[0], in[1], in[2], in[3]}), (std::vector<int>{1, 0, 0, 0}));
    CombinationToInputs(c, 5, in);
    EXPECT_EQ((std::vector<int>{in[0], in[1], in[2], in[3]}), (std::vector<int>{0, 1, 0, 1}));
}

TEST(EvaluatePal, OneInputFusePairs)
{
    PalConfig c{.NumInputs = 1, .NumAndTerms = 1, .NumOutputs = 1};
    struct Row { int p0, p1, outFor0, outFor1; };
    for (Row row : {Row{0, 0, 1, 1}, Row{1, 0, 0, 1}, Row{0, 1, 1, 0}, Row{1, 1, 0, 0}}) {
        BitString fuses(2);
        fuses[0] = row.p0;
        fuses[1] = row.p1;
        EXPECT_EQ(Evaluate(c, fuses, 0)[0], row.outFor0) << row.p0 << row.p1;
        EXPECT_EQ(Evaluate(c, fuses, 1)[0], row.outFor1) << row.p0 << row.p1;
    }
}

TEST(EvaluatePal, AllZeroAndAllOneChromosomes)
{
    for (PalConfig c : {PalConfig{}, PalConfig{10, 40, 10}, PalConfig{3, 1, 2}}) {
        BitString zeros(c.ChromosomeSize()), ones(c.ChromosomeSize());
        for (uint32_t i = 0; i < ones.Size(); ++i)
            ones[i] = 1;
        for (uint32_t r = 0; r < static_cast<uint32_t>(c.NumCombinations()); r += 37) {
            EXPECT_EQ(Evaluate(c, zeros, r), std::vector<unsigned char>(c.NumOutputs, 1));
            EXPECT_EQ(Evaluate(c, ones, r), std::vector<unsigned char>(c.NumOutputs, 0));
        }
    }
}

TEST(EvaluatePal, OutputsAreTheOrOfTheirTerms)
{
    // Default PAL: output 0 = I0 AND NOT I3 (term 0) OR I1 (term 1); output 1 never
    // true (both fuses of input 0 in both terms); output 2 = I2 (term 0, term 1 never).
    PalConfig c;
    BitString f(48);
    f[c.FuseIndex(0, 0, 0, 0)] = 1;
    f[c.FuseIndex(0, 0, 3, 1)] = 1;
    f[c.FuseIndex(0, 1, 1, 0)] = 1;
    for (int t = 0; t < 2; ++t) {
        f[c.FuseIndex(1, t, 0, 0)] = 1;
        f[c.FuseIndex(1, t, 0, 1)] = 1;
    }
    f[c.FuseIndex(2, 0, 2, 0)] = 1;
    f[c.FuseIndex(2, 1, 1, 0)] = 1;
    f[c.FuseIndex(2, 1, 1, 1)] = 1;
    for (uint32_t r = 0; r < 16; ++r) {
        int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        auto out = Evaluate(c, f, r);
        EXPECT_EQ(out[0], (i0 && !i3) || i1) << r;
        EXPECT_EQ(out[1], 0) << r;
        EXPECT_EQ(out[2], i2) << r;
    }
}

TEST(EvaluatePal, ShortChromosomeRaisesTheBitStringError)
{
    PalConfig c;
    BitString tooShort(10);
    tooShort[0] = 1; // make term 0 read past bit 9 before it can fail early
    unsigned char in[4] = {1, 1, 1, 1}, out[3];
    try {
        EvaluatePal(c, tooShort, in, out);
        FAIL();
    } catch (const EBitString& e) {
        EXPECT_STREQ(e.what(), "BitString: index out of bounds");
    }
}
