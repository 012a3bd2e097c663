// Logic-synthesis tools judge the exports: for fully specified tables, ABC
// proves that the exported BLIF, the exported PLA of the individual, and the
// exported Verilog (synthesised by yosys) are equivalent to the exported
// table, and yosys reads the Verilog without a single warning. The circuits
// are minimum solutions, an evolved solution, and random individuals (judged
// against the table of what they compute). Skipped where the tools are not
// installed (scripts/deps.sh installs them).
#include "circuitexport.h"
#include "evaluatepal.h"
#include "ga.h"
#include "minimumcover.h"
#include "palfunction.h"
#include "palterms.h"
#include "plafile.h"
#include "truthtablefitness.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace {
namespace fs = std::filesystem;

struct Tools {
    std::string abc = ORVIK_ABC;
    std::string yosys = ORVIK_YOSYS;
    bool Present() const { return !abc.empty() && !yosys.empty(); }
};

struct Output {
    int status = -1;
    std::string text; // standard output and error together
};

Output RunCommand(const std::string& command)
{
    Output output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.text.append(buffer, got);
    output.status = pclose(pipe);
    return output;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> Names(char prefix, int32_t count)
{
    std::vector<std::string> names;
    for (int32_t k = 0; k < count; ++k)
        names.push_back(prefix + std::to_string(k));
    return names;
}

class ExternalJudges : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tools.Present())
            GTEST_SKIP() << "berkeley-abc or yosys not installed";
        directory = fs::temp_directory_path() / ("orvik-judges-" + std::to_string(::getpid()));
        fs::create_directories(directory);
    }
    void TearDown() override
    {
        if (!directory.empty())
            fs::remove_all(directory);
    }

    std::string File(const std::string& name) const { return (directory / name).string(); }

    // Both networks' inputs and outputs are matched by name (I0.., O0..).
    void ExpectEquivalent(const std::string& table, const std::string& circuit, const std::string& what)
    {
        const Output cec = RunCommand(tools.abc + " -c \"cec " + table + " " + circuit + "\"");
        EXPECT_NE(cec.text.find("Networks are equivalent"), std::string::npos) << what << ":\n" << cec.text;
    }

    // Writes the table and the circuit in every format and asks the judges.
    void Judge(const std::string& name, int32_t numInputs, int32_t numOutputs, const TruthTable& table,
               const std::vector<std::vector<Cube>>& terms)
    {
        SCOPED_TRACE(name);
        PlaTable pla;
        pla.numInputs = numInputs;
        pla.numOutputs = numOutputs;
        pla.inputLabels = Names('I', numInputs); // the names BLIF and Verilog use
        pla.outputLabels = Names('O', numOutputs);
        pla.cells = table;
        WriteFile(File(name + "_table.pla"), FormatPlaTable(pla));

        SumOfProducts circuit;
        circuit.numInputs = numInputs;
        circuit.terms = terms;
        WriteFile(File(name + ".blif"), FormatBlif(circuit));
        WriteFile(File(name + ".v"), FormatVerilog(circuit));
        circuit.inputLabels = pla.inputLabels;
        circuit.outputLabels = pla.outputLabels;
        WriteFile(File(name + "_pal.pla"), FormatPlaCircuit(circuit));

        ExpectEquivalent(File(name + "_table.pla"), File(name + ".blif"), "BLIF");
        ExpectEquivalent(File(name + "_table.pla"), File(name + "_pal.pla"), "PLA of the PAL");

        // Quiet yosys prints only warnings and errors: nothing at all is expected.
        const Output synth = RunCommand(tools.yosys + " -q -p \"read_verilog " + File(name + ".v") +
                                 "; synth -top orvik_pal; write_blif " + File(name + "_v.blif") + "\"");
        EXPECT_EQ(synth.status, 0) << synth.text;
        EXPECT_EQ(synth.text, "") << "yosys said something about the Verilog";
        ExpectEquivalent(File(name + "_table.pla"), File(name + "_v.blif"), "Verilog through yosys");
    }

    void JudgeMinimum(const std::string& name, int32_t numInputs, int32_t numOutputs, const TruthTable& table)
    {
        const TableCover cover = MinimumTableCover(table, numInputs, numOutputs, {});
        ASSERT_TRUE(cover.Exact());
        std::vector<std::vector<Cube>> terms;
        for (const OutputCover& output : cover.outputs)
            terms.push_back(output.terms);
        Judge(name, numInputs, numOutputs, table, terms);
    }

    Tools tools;
    fs::path directory;
};
} // namespace

TEST_F(ExternalJudges, MinimumSolutions)
{
    // Full adder.
    JudgeMinimum("adder", 3, 2, {0, 0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0, 1, 1});
    // Parity of 10 inputs (512 terms), the 6-input multiplexer, and a table
    // whose outputs are constantly 0 and constantly 1.
    TruthTable parity, mux, constants;
    for (uint32_t r = 0; r < 1024; ++r)
        parity.push_back(std::popcount(r) % 2);
    for (uint32_t r = 0; r < 64; ++r)
        mux.push_back(static_cast<int32_t>((r >> (3 - (r >> 4))) & 1));
    for (uint32_t r = 0; r < 4; ++r)
        constants.insert(constants.end(), {0, 1});
    JudgeMinimum("parity10", 10, 1, parity);
    JudgeMinimum("mux6", 6, 1, mux);
    JudgeMinimum("constants", 2, 2, constants);
    // A random 8-input, 4-output table.
    std::mt19937 random(8);
    TruthTable noise(256 * 4);
    for (int32_t& cell : noise)
        cell = static_cast<int32_t>(random() % 2);
    JudgeMinimum("random8", 8, 4, noise);
}

TEST_F(ExternalJudges, AnEvolvedSolution)
{
    // O0 = majority of the three inputs, O1 = I0 and not I1, or I2.
    const PalConfig pal{3, 3, 2};
    TruthTable table;
    for (uint32_t r = 0; r < 8; ++r) {
        const uint32_t i0 = r >> 2, i1 = (r >> 1) & 1, i2 = r & 1;
        table.push_back(i0 + i1 + i2 >= 2 ? 1 : 0);
        table.push_back(static_cast<int32_t>((i0 & ~i1 & 1) | i2));
    }
    // The window's GA settings; its fixed generator makes this reproducible.
    GA ga(100, static_cast<uint32_t>(pal.ChromosomeSize()));
    ga.SetRankParents(15);
    ga.SetMutationRate(0.01);
    ga.SetCrossoverRate(0.7);
    ga.SetSelection(1);
    ga.SetElitism(1);
    const double maximum = MaxPossibleFitness(table);
    int best = -1;
    for (int generation = 0; generation < 2000 && best < 0; ++generation) {
        if (ga.IsEvaluated())
            ga.NextGeneration();
        for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i) {
            ga.At(i).SetFitness(ComputeFitnessTruthTable(pal, table, ga.At(i)));
            if (best < 0 && ga.At(i).GetFitness() == maximum)
                best = static_cast<int>(i);
        }
        ga.RecordGeneration();
    }
    ASSERT_GE(best, 0) << "no perfect individual in 2000 generations";
    const BitString& evolved = ga.At(static_cast<uint32_t>(best));
    Judge("evolved", pal.NumInputs, pal.NumOutputs, table, PalTerms(pal, evolved));
}

TEST_F(ExternalJudges, RandomIndividualsComputeTheTableOfWhatTheyCompute)
{
    std::mt19937 random(21);
    for (int trial = 0; trial < 4; ++trial) {
        const PalConfig pal{3 + 2 * trial, 4 + trial, 1 + trial};
        BitString chromosome(static_cast<uint32_t>(pal.ChromosomeSize()));
        for (uint32_t k = 0; k < chromosome.Size(); ++k)
            chromosome[k] = random() % 100 < 15 ? 1 : 0;
        Judge("random" + std::to_string(trial), pal.NumInputs, pal.NumOutputs, PalFunction(pal, chromosome),
              PalTerms(pal, chromosome));
    }
}
