// The truth table, MaxPossibleFitness, and the documented fitness cases, run
// through the reference and through every fast kernel this machine can run.
#include "bitstring.h"
#include "fasttruthtablefitness.h"
#include "truthtable.h"
#include "truthtablefitness.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {
using Kernel = FastTruthTableFitness::Kernel;

BitString Fuses(std::initializer_list<int> bits)
{
    BitString b(static_cast<uint32_t>(bits.size()));
    uint32_t i = 0;
    for (int bit : bits)
        b[i++] = static_cast<unsigned char>(bit);
    return b;
}

BitString Filled(const PalConfig& c, unsigned char value)
{
    BitString b(static_cast<uint32_t>(c.ChromosomeSize()));
    for (uint32_t i = 0; i < b.Size(); ++i)
        b[i] = value;
    return b;
}

// (name, fitness) for the reference and each fast kernel available here.
std::vector<std::pair<std::string, double>> AllFitnesses(const PalConfig& c, const TruthTable& table,
                                                         const BitString& chromosome)
{
    std::vector<std::pair<std::string, double>> result;
    result.emplace_back("reference", ComputeFitnessTruthTable(c, table, chromosome));
    for (auto [kernel, name] : {std::pair{Kernel::Portable, "portable"}, std::pair{Kernel::Avx2, "avx2"}}) {
        FastTruthTableFitness fast;
        if (!fast.UseKernel(kernel))
            continue;
        fast.Prepare(c, table);
        result.emplace_back(name, fast.Evaluate(chromosome));
    }
    return result;
}

void ExpectFitness(const PalConfig& c, const TruthTable& table, const BitString& chromosome, double expected,
                   const std::string& what)
{
    for (const auto& [name, value] : AllFitnesses(c, table, chromosome))
        EXPECT_EQ(value, expected) << what << " (" << name << ")";
}
} // namespace

TEST(TruthTable, MakeTruthTableHasOneZeroCellPerCombinationAndOutput)
{
    struct Row { PalConfig config; std::size_t cells; };
    for (const Row& row : {Row{PalConfig{}, 48}, Row{PalConfig{1, 1, 1}, 2}, Row{PalConfig{10, 40, 10}, 10240},
                           Row{PalConfig{3, 7, 5}, 40}}) {
        const TruthTable table = MakeTruthTable(row.config);
        EXPECT_EQ(table.size(), row.cells);
        EXPECT_EQ(table, TruthTable(row.cells, 0));
    }
}

TEST(MaxPossibleFitness, CountsEveryCellThatIsNotDontCare)
{
    struct Row { TruthTable table; double expected; };
    for (const Row& row : {Row{TruthTable(48, 0), 48.0}, Row{TruthTable(48, DontCare), 0.0},
                           Row{{0, 1, DontCare, 1, DontCare, 0}, 4.0},
                           // Cells that can never match still count.
                           Row{{2, 7, DontCare, -5, 1}, 4.0}, Row{{}, 0.0}})
        EXPECT_EQ(MaxPossibleFitness(row.table), row.expected);
}

TEST(TruthTableFitness, FreshStartTableOfZeros)
{
    const PalConfig c;
    const TruthTable table = MakeTruthTable(c);
    EXPECT_EQ(MaxPossibleFitness(table), 48.0);
    // All fuses open: every output constantly 1, so no cell of 0 matches.
    ExpectFitness(c, table, Filled(c, 0), 0.0, "all-zero chromosome");
    // All fuses set: every output constantly 0, every cell matches.
    ExpectFitness(c, table, Filled(c, 1), 48.0, "all-one chromosome");
}

TEST(TruthTableFitness, TableOfDontCaresScoresNothing)
{
    for (PalConfig c : {PalConfig{}, PalConfig{10, 40, 10}, PalConfig{2, 1, 1}}) {
        const TruthTable table(MakeTruthTable(c).size(), DontCare);
        EXPECT_EQ(MaxPossibleFitness(table), 0.0);
        BitString mixed(static_cast<uint32_t>(c.ChromosomeSize()));
        for (uint32_t i = 0; i < mixed.Size(); i += 3)
            mixed[i] = 1;
        for (const BitString& chromosome : {Filled(c, 0), Filled(c, 1), mixed})
            ExpectFitness(c, table, chromosome, 0.0, "all X");
    }
}

TEST(TruthTableFitness, RowOrderPutsInputZeroFirst)
{
    const PalConfig c{.NumInputs = 2, .NumAndTerms = 1, .NumOutputs = 1};
    struct Row { TruthTable table; std::initializer_list<int> fuses; double expected; const char* what; };
    for (const Row& row : {
             Row{{0, 0, 0, 1}, {1, 0, 1, 0}, 4.0, "AND of both true inputs"},
             Row{{0, 0, 0, 1}, {0, 1, 0, 1}, 2.0, "NOR against AND"},
             Row{{0, 0, 1, 1}, {1, 0, 0, 0}, 4.0, "input 0 is the high bit of the row"},
             Row{{0, 1, 0, 1}, {1, 0, 0, 0}, 2.0, "input 0 is not the low bit"},
             Row{{0, 1, 0, 1}, {0, 0, 1, 0}, 4.0, "input 1 is the low bit of the row"},
             Row{{1, DontCare, 0, DontCare}, {0, 1, 0, 0}, 2.0, "don't-cares skipped"},
         })
        ExpectFitness(c, row.table, Fuses(row.fuses), row.expected, row.what);
}

TEST(TruthTableFitness, CellsOtherThanZeroOneOrDontCareNeverMatch)
{
    const PalConfig c{.NumInputs = 1, .NumAndTerms = 1, .NumOutputs = 2};
    // Output 0 = input 0 (fuses 1 0), output 1 constantly 1 (fuses 0 0).
    const BitString chromosome = Fuses({1, 0, 0, 0});
    struct Row { TruthTable table; double expected; };
    for (const Row& row : {Row{{0, 1, 1, 1}, 4.0}, Row{{2, 7, 1, 1}, 2.0}, Row{{0, -2, 5, 1}, 2.0},
                           Row{{DontCare, 2, 7, DontCare}, 0.0}}) {
        ExpectFitness(c, row.table, chromosome, row.expected, "table " + testing::PrintToString(row.table));
    }
}

TEST(TruthTableFitness, ShortChromosomeIsAnIndexError)
{
    // The first term of every output is empty, so the simulation alone would
    // never read the last fuses; a short chromosome is still refused.
    const PalConfig c{.NumInputs = 3, .NumAndTerms = 2, .NumOutputs = 2};
    const TruthTable table = MakeTruthTable(c);
    const BitString shortOne(static_cast<uint32_t>(c.ChromosomeSize() - 1));
    FastTruthTableFitness fast;
    fast.Prepare(c, table);
    for (const auto& evaluate : {std::function<double()>{[&] { return ComputeFitnessTruthTable(c, table, shortOne); }},
                                 std::function<double()>{[&] { return fast.Evaluate(shortOne); }}}) {
        try {
            evaluate();
            ADD_FAILURE() << "no exception";
        } catch (const EBitString& e) {
            EXPECT_STREQ(e.what(), "BitString: index out of bounds");
        }
    }
}

TEST(TruthTableFitness, BitsBeyondTheChromosomeAreIgnored)
{
    const PalConfig c{.NumInputs = 2, .NumAndTerms = 1, .NumOutputs = 1};
    const TruthTable table{0, 0, 0, 1};
    ExpectFitness(c, table, Fuses({1, 0, 1, 0, 1, 1, 1}), 4.0, "longer chromosome");
}

TEST(TruthTableFitness, TableOfTheWrongSizeIsRefused)
{
    const PalConfig c;
    const TruthTable wrong(47, 0);
    EXPECT_THROW(ComputeFitnessTruthTable(c, wrong, Filled(c, 0)), std::invalid_argument);
    FastTruthTableFitness fast;
    EXPECT_THROW(fast.Prepare(c, wrong), std::invalid_argument);
}
