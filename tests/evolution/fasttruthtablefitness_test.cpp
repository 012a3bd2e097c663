// FastTruthTableFitness against the reference ComputeFitnessTruthTable:
// random PAL sizes over the whole range, random fuse maps from nearly empty to
// nearly full (so that always-true and never-true terms both occur), random
// tables with don't-cares and invalid cells, raw chromosome bytes other than 1.
#include "bitstring.h"
#include "evaluatepal.h"
#include "fasttruthtablefitness.h"
#include "truthtable.h"
#include "truthtablefitness.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
using Kernel = FastTruthTableFitness::Kernel;

std::vector<Kernel> AvailableKernels()
{
    std::vector<Kernel> kernels{Kernel::Portable};
    if (FastTruthTableFitness::Avx2Supported())
        kernels.push_back(Kernel::Avx2);
    return kernels;
}

const char* KernelName(Kernel k) { return k == Kernel::Avx2 ? "avx2" : "portable"; }

std::string Describe(const PalConfig& c) { return std::to_string(c.NumInputs) + "/" + std::to_string(c.NumAndTerms) + "/" + std::to_string(c.NumOutputs); }

class RandomCases {
public:
    explicit RandomCases(uint32_t seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // A set fuse is stored as 1 or as another non-zero byte.
    unsigned char SetByte()
    {
        static const unsigned char values[] = {1, 1, 1, 5, 2, 0x80, 0xFF};
        return values[Int(0, 6)];
    }

    // Fuse maps: one density for all terms, or a density per term mixing
    // empty terms (always true), full ones (never true) and partial ones.
    BitString Chromosome(const PalConfig& c, uint32_t extraBits = 0)
    {
        static const double densities[] = {0.0, 0.02, 0.1, 0.25, 0.5, 0.8, 1.0};
        BitString chromosome(static_cast<uint32_t>(c.ChromosomeSize()) + extraBits);
        const bool perTerm = Chance(0.5);
        double density = densities[Int(0, 6)];
        const uint32_t termBits = static_cast<uint32_t>(2 * c.NumInputs);
        for (uint32_t i = 0; i < chromosome.Size(); ++i) {
            if (perTerm && i % termBits == 0)
                density = Chance(0.15) ? 0.0 : densities[Int(1, 6)];
            if (Chance(density))
                chromosome[i] = SetByte(); // stays raw until the cell is accessed again
        }
        return chromosome;
    }

    // Random cells, or the PAL's own outputs with a few flips, so that both
    // low and near-maximal scores occur. Don't-cares and invalid cells mixed in.
    TruthTable Table(const PalConfig& c)
    {
        TruthTable table = MakeTruthTable(c);
        if (Chance(0.4)) {
            const BitString source = Chromosome(c);
            std::vector<unsigned char> in(c.NumInputs), out(c.NumOutputs);
            for (uint32_t r = 0; r < static_cast<uint32_t>(c.NumCombinations()); ++r) {
                CombinationToInputs(c, r, in.data());
                EvaluatePal(c, source, in.data(), out.data());
                for (int32_t o = 0; o < c.NumOutputs; ++o)
                    table[r * c.NumOutputs + o] = out[o] ^ Chance(0.05);
            }
        } else {
            for (int32_t& cell : table)
                cell = Int(0, 1);
        }
        const double dontCare = Chance(0.3) ? 0.0 : Chance(0.5) ? 0.2 : 0.9;
        const double invalid = Chance(0.5) ? 0.0 : 0.05;
        static const int32_t invalidValues[] = {2, 7, -2, 100, 0x7FFFFFFF};
        for (int32_t& cell : table) {
            if (Chance(dontCare))
                cell = DontCare;
            else if (Chance(invalid))
                cell = invalidValues[Int(0, 4)];
        }
        return table;
    }

    PalConfig Config(int32_t inputs)
    {
        return PalConfig{.NumInputs = inputs, .NumAndTerms = Chance(0.2) ? 40 : Int(1, 40), .NumOutputs = Int(1, 10)};
    }

private:
    std::mt19937 rng_;
};
} // namespace

TEST(FastTruthTableFitness, AgreesWithTheReferenceOnRandomPalsTablesAndChromosomes)
{
    RandomCases random(20261208);
    std::vector<FastTruthTableFitness> fast(AvailableKernels().size());
    for (std::size_t k = 0; k < fast.size(); ++k)
        ASSERT_TRUE(fast[k].UseKernel(AvailableKernels()[k]));

    int compared = 0;
    for (int round = 0; round < 1500; ++round) {
        const PalConfig c = random.Config(1 + round % PalConfig::MaxInputs);
        const TruthTable table = random.Table(c);
        for (FastTruthTableFitness& f : fast)
            f.Prepare(c, table); // the same objects are prepared again every round
        for (int n = 0; n < 6; ++n) {
            const BitString chromosome = random.Chromosome(c, n == 5 ? 13 : 0);
            const double expected = ComputeFitnessTruthTable(c, table, chromosome);
            for (const FastTruthTableFitness& f : fast) {
                ASSERT_EQ(f.Evaluate(chromosome), expected)
                    << "PAL " << Describe(c) << ", round " << round << ", chromosome " << n << ", kernel "
                    << KernelName(f.ActiveKernel());
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 1500 * 6 * static_cast<int>(fast.size()));
}

TEST(FastTruthTableFitness, EveryTermPositionCountsAtTheLargestPal)
{
    // One term at a time holds the only live literals of its output, at every
    // term and output position, so that a field read from the wrong bit offset
    // shows up.
    const PalConfig c{.NumInputs = 10, .NumAndTerms = 40, .NumOutputs = 10};
    RandomCases random(7);
    const TruthTable table = random.Table(c);
    for (Kernel kernel : AvailableKernels()) {
        FastTruthTableFitness fast;
        ASSERT_TRUE(fast.UseKernel(kernel));
        fast.Prepare(c, table);
        for (int32_t o = 0; o < c.NumOutputs; ++o) {
            for (int32_t t = 0; t < c.NumAndTerms; t += 3) {
                BitString chromosome(static_cast<uint32_t>(c.ChromosomeSize()));
                for (uint32_t i = 0; i < chromosome.Size(); i += 2)
                    chromosome[i] = chromosome[i + 1] = 1; // every term never true
                for (int32_t i = 0; i < c.NumInputs; ++i) {
                    const int pick = random.Int(0, 2); // open, true or complemented input
                    chromosome[c.FuseIndex(o, t, i, 0)] = pick == 1;
                    chromosome[c.FuseIndex(o, t, i, 1)] = pick == 2;
                }
                ASSERT_EQ(fast.Evaluate(chromosome), ComputeFitnessTruthTable(c, table, chromosome))
                    << "output " << o << ", term " << t << ", kernel " << KernelName(kernel);
            }
        }
    }
}

TEST(FastTruthTableFitness, PreparingAgainFollowsTableAndSizeChanges)
{
    RandomCases random(99);
    FastTruthTableFitness fast;
    PalConfig c{.NumInputs = 7, .NumAndTerms = 5, .NumOutputs = 3};
    TruthTable table = random.Table(c);
    fast.Prepare(c, table);
    const BitString chromosome = random.Chromosome(c);
    EXPECT_EQ(fast.Evaluate(chromosome), ComputeFitnessTruthTable(c, table, chromosome));

    // The user edits cells: a new Prepare must forget the old table.
    for (int32_t& cell : table)
        cell = cell == 0 ? 1 : cell == 1 ? DontCare : 0;
    fast.Prepare(c, table);
    EXPECT_EQ(fast.Evaluate(chromosome), ComputeFitnessTruthTable(c, table, chromosome)) << "edited table";

    // Only the number of AND terms changes: the table stays, chromosomes grow.
    c.NumAndTerms = 31;
    fast.Prepare(c, table);
    const BitString longer = random.Chromosome(c);
    EXPECT_EQ(fast.Evaluate(longer), ComputeFitnessTruthTable(c, table, longer)) << "more terms";
    EXPECT_THROW(fast.Evaluate(chromosome), EBitString) << "old chromosome is now too short";

    // Fewer inputs and outputs, fresh table.
    c = PalConfig{.NumInputs = 2, .NumAndTerms = 31, .NumOutputs = 1};
    table = random.Table(c);
    fast.Prepare(c, table);
    const BitString small = random.Chromosome(c);
    EXPECT_EQ(fast.Evaluate(small), ComputeFitnessTruthTable(c, table, small)) << "smaller PAL";
}

TEST(FastTruthTableFitness, CopiesEvaluateOnTheirOwn)
{
    RandomCases random(5);
    const PalConfig c{.NumInputs = 9, .NumAndTerms = 12, .NumOutputs = 4};
    const TruthTable table = random.Table(c);
    const BitString chromosome = random.Chromosome(c);
    FastTruthTableFitness copy;
    {
        FastTruthTableFitness original;
        original.Prepare(c, table);
        copy = original;
        original.Prepare(PalConfig{}, MakeTruthTable(PalConfig{}));
    }
    EXPECT_EQ(copy.Evaluate(chromosome), ComputeFitnessTruthTable(c, table, chromosome));
}

TEST(FastTruthTableFitness, RefusesUseWithoutAValidPreparation)
{
    FastTruthTableFitness fast;
    const BitString chromosome(48);
    EXPECT_THROW(fast.Evaluate(chromosome), std::logic_error);

    struct Row { PalConfig config; };
    for (const Row& row : {Row{{0, 2, 3}}, Row{{11, 2, 3}}, Row{{4, 0, 3}}, Row{{4, 41, 3}}, Row{{4, 2, 0}},
                           Row{{4, 2, 11}}}) {
        const PalConfig& c = row.config;
        const TruthTable table(static_cast<std::size_t>(c.NumOutputs) << (c.NumInputs & 31), 0);
        EXPECT_THROW(fast.Prepare(c, table), std::invalid_argument) << Describe(c);
    }
    fast.Prepare(PalConfig{}, MakeTruthTable(PalConfig{}));
    EXPECT_THROW(fast.Prepare(PalConfig{}, TruthTable(5, 0)), std::invalid_argument);
    EXPECT_THROW(fast.Evaluate(chromosome), std::logic_error) << "a failed Prepare leaves it unprepared";
}

TEST(FastTruthTableFitness, PicksTheWidestKernelTheProcessorRuns)
{
    FastTruthTableFitness fast;
    EXPECT_EQ(fast.ActiveKernel(), FastTruthTableFitness::Avx2Supported() ? Kernel::Avx2 : Kernel::Portable);
    EXPECT_TRUE(fast.UseKernel(Kernel::Portable));
    EXPECT_EQ(fast.ActiveKernel(), Kernel::Portable);
    EXPECT_EQ(fast.UseKernel(Kernel::Avx2), FastTruthTableFitness::Avx2Supported());
}
