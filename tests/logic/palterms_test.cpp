#include "circuitexport.h"
#include "evaluatepal.h"
#include "minimumcover.h"
#include "palfunction.h"
#include "palterms.h"
#include "plafile.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

namespace {
BitString RandomChromosome(const PalConfig& config, std::mt19937& random, int setPercent)
{
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    for (uint32_t k = 0; k < chromosome.Size(); ++k)
        chromosome[k] = static_cast<int>(random() % 100) < setPercent ? 1 : 0;
    return chromosome;
}

// The function of a BLIF model as written by FormatBlif: each .names block
// is a sum of its "cube 1" rows (a block without inputs: its single row).
TruthTable BlifFunction(const std::string& blif, int32_t n, int32_t m)
{
    std::map<std::string, std::vector<std::string>> rows; // output -> input parts
    std::map<std::string, bool> constantOne;
    std::istringstream in(blif);
    std::string line, current;
    bool withInputs = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        if (w[0] == ".names") {
            current = w.back();
            withInputs = w.size() > 2;
            rows[current];
            constantOne[current] = false;
        } else if (w[0][0] != '.') {
            if (withInputs) {
                EXPECT_EQ(w.size(), 2u);
                EXPECT_EQ(w[1], "1");
                rows[current].push_back(w[0]);
            } else {
                EXPECT_EQ(w, std::vector<std::string>{"1"});
                constantOne[current] = true;
            }
        }
    }
    TruthTable cells;
    for (int32_t r = 0; r < (1 << n); ++r) {
        for (int32_t o = 0; o < m; ++o) {
            const std::string name = "O" + std::to_string(o);
            bool value = constantOne[name];
            for (const std::string& cube : rows[name]) {
                bool match = true;
                for (int32_t i = 0; i < n; ++i) {
                    const char bit = static_cast<char>('0' + ((r >> (n - 1 - i)) & 1));
                    match = match && (cube[static_cast<std::size_t>(i)] == '-' || cube[static_cast<std::size_t>(i)] == bit);
                }
                value = value || match;
            }
            cells.push_back(value ? 1 : 0);
        }
    }
    return cells;
}

SumOfProducts CircuitOf(const PalConfig& config, const BitString& chromosome)
{
    SumOfProducts circuit;
    circuit.numInputs = config.NumInputs;
    circuit.terms = PalTerms(config, chromosome);
    return circuit;
}
} // namespace

TEST(PalTerms, EachFusePairGivesItsLiteral)
{
    const PalConfig one{1, 1, 1};
    BitString fuses(2);
    EXPECT_EQ(PalTerms(one, fuses), (std::vector<std::vector<Cube>>{{Cube{0, 0}}}));
    fuses[0] = 1;
    EXPECT_EQ(PalTerms(one, fuses), (std::vector<std::vector<Cube>>{{Cube{1, 1}}}));
    fuses[1] = 1;
    EXPECT_EQ(PalTerms(one, fuses), (std::vector<std::vector<Cube>>{{}})) << "never true";
    fuses[0] = 0;
    EXPECT_EQ(PalTerms(one, fuses), (std::vector<std::vector<Cube>>{{Cube{1, 0}}}));
}

TEST(PalTerms, ProgrammingTheTermsBackGivesTheSameFunction)
{
    std::mt19937 random(5);
    for (int trial = 0; trial < 60; ++trial) {
        const PalConfig config{1 + trial % 10, 1 + trial % 4, 1 + trial % 3};
        const BitString chromosome = RandomChromosome(config, random, 15);
        const BitString again = ProgramTerms(config, PalTerms(config, chromosome));
        EXPECT_EQ(PalFunction(config, again), PalFunction(config, chromosome)) << "trial " << trial;
    }
}

TEST(PalTerms, AMinimumCoverProgrammedReproducesEveryCaredCell)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 30; ++trial) {
        const int32_t n = 1 + trial % 8;
        const int32_t m = 1 + trial % 3;
        TruthTable table(static_cast<std::size_t>(m) << n);
        for (int32_t& cell : table)
            cell = static_cast<int32_t>(random() % 3) - 1;
        const TableCover cover = MinimumTableCover(table, n, m, {});
        ASSERT_TRUE(cover.Exact());
        std::vector<std::vector<Cube>> terms;
        for (const OutputCover& output : cover.outputs)
            terms.push_back(output.terms);
        const PalConfig config{n, std::max(cover.Terms(), 1), m};
        const TruthTable computed = PalFunction(config, ProgramTerms(config, terms));
        for (std::size_t k = 0; k < table.size(); ++k)
            if (table[k] != DontCare) {
                EXPECT_EQ(computed[k], table[k]) << "trial " << trial << " cell " << k;
            }
    }
}

TEST(PalTerms, UnusedTermsAreNeverTrueAndTooManyCubesAreRefused)
{
    const PalConfig config{3, 2, 2};
    const BitString chromosome = ProgramTerms(config, {{}, {Cube{0, 0}}});
    EXPECT_EQ(PalFunction(config, chromosome), TruthTable({0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}));
    // Both fuses of input 0 in each unused term.
    EXPECT_EQ(chromosome[0], 1);
    EXPECT_EQ(chromosome[1], 1);
    EXPECT_THROW(ProgramTerms(config, {{Cube{}, Cube{}, Cube{}}, {}}), std::invalid_argument);
    EXPECT_THROW(ProgramTerms(config, {{}}), std::invalid_argument);
}

TEST(CircuitExport, PlaAndBlifOfAnIndividualComputeWhatThePalComputes)
{
    std::mt19937 random(3);
    for (int trial = 0; trial < 40; ++trial) {
        const PalConfig config{1 + trial % 10, 1 + trial % 5, 1 + trial % 4};
        const BitString chromosome = RandomChromosome(config, random, 10 + trial % 3 * 20);
        const SumOfProducts circuit = CircuitOf(config, chromosome);
        const TruthTable expected = PalFunction(config, chromosome);

        const PlaReadResult pla = ReadPla(FormatPlaCircuit(circuit));
        ASSERT_TRUE(pla.ok) << pla.message;
        EXPECT_EQ(pla.table.cells, expected) << "trial " << trial;
        EXPECT_EQ(BlifFunction(FormatBlif(circuit), config.NumInputs, config.NumOutputs), expected) << "trial " << trial;
    }
}

TEST(CircuitExport, WritesEachFormat)
{
    SumOfProducts circuit;
    circuit.numInputs = 3;
    // O0 = I0 & ~I2 | ~I1, O1 = 0, O2 = 1, O3 = I0 & ~I2
    const Cube a{0b101, 0b100}, b{0b010, 0};
    circuit.terms = {{a, b}, {}, {Cube{}, b}, {a}};
    EXPECT_EQ(FormatPlaCircuit(circuit), ".i 3\n.o 4\n.type f\n.p 3\n1-0 1001\n-0- 1010\n--- 0010\n.e\n");
    EXPECT_EQ(FormatBlif(circuit), ".model orvik_pal\n.inputs I0 I1 I2\n.outputs O0 O1 O2 O3\n"
                                   ".names I0 I1 I2 O0\n1-0 1\n-0- 1\n.names O1\n.names O2\n1\n"
                                   ".names I0 I1 I2 O3\n1-0 1\n.end\n");
    EXPECT_EQ(FormatVerilog(circuit), "// The PAL as one sum of products per output.\n"
                                      "module orvik_pal(input I0, I1, I2, output O0, O1, O2, O3);\n"
                                      "  assign O0 = (I0 & ~I2) | ~I1;\n"
                                      "  assign O1 = 1'b0;\n"
                                      "  assign O2 = 1'b1;\n"
                                      "  assign O3 = I0 & ~I2;\n"
                                      "endmodule\n");

    circuit.inputLabels = {"a", "b", "c"};
    circuit.outputLabels = {"w", "x", "y", "z"};
    EXPECT_TRUE(FormatPlaCircuit(circuit).starts_with(".i 3\n.o 4\n.ilb a b c\n.ob w x y z\n.type f\n"));
    const std::string note = "I0 = a, I1 = b, I2 = c, O0 = w, O1 = x, O2 = y, O3 = z\n";
    EXPECT_NE(FormatVerilog(circuit).find("\n// " + note + "module orvik_pal("), std::string::npos);
    EXPECT_TRUE(FormatBlif(circuit).starts_with("# " + note + ".model orvik_pal\n"));
}

TEST(CircuitExport, FormatFollowsTheFileName)
{
    EXPECT_EQ(CircuitFormatOfPath("a/b.pla"), CircuitFormat::Pla);
    EXPECT_EQ(CircuitFormatOfPath("x.BLIF"), CircuitFormat::Blif);
    EXPECT_EQ(CircuitFormatOfPath("pal.v"), CircuitFormat::Verilog);
    EXPECT_EQ(CircuitFormatOfPath("pal.vhd"), std::nullopt);
    EXPECT_EQ(CircuitFormatOfPath("pal"), std::nullopt);
}
