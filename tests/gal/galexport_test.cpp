// The exported fuse file, read back and simulated as the device would run
// it, against the PAL it came from.
#include "evaluatepal.h"
#include "galfit.h"
#include "galsource.h"
#include "jedecfile.h"
#include "jedecreader.h"
#include "minimumcover.h"
#include "palterms.h"

#include <gtest/gtest.h>

#include <random>

namespace {
SumOfProducts CircuitOf(const PalConfig& config, const BitString& chromosome)
{
    SumOfProducts circuit;
    circuit.numInputs = config.NumInputs;
    circuit.terms = PalTerms(config, chromosome);
    return circuit;
}

// Writes the design, reads it back, and checks both checksums and, on every
// input combination, that each output pin shows EvaluatePal's output and
// that no other pin is driven.
void ExpectDeviceEqualsPal(const GalDesign& design, const PalConfig& config, const BitString& chromosome)
{
    const JedecContents read = ReadJedecText(FormatGalJedec(design));
    ASSERT_TRUE(read.fuseChecksumRight);
    ASSERT_TRUE(read.transmissionChecksumRight);
    const GalSimulator device(GalName(design.type), read.fuses);
    unsigned char in[PalConfig::MaxInputs], out[PalConfig::MaxOutputs];
    for (uint32_t r = 0; r < static_cast<uint32_t>(config.NumCombinations()); ++r) {
        CombinationToInputs(config, r, in);
        EvaluatePal(config, chromosome, in, out);
        PinLevels pins;
        pins.fill(Floating);
        for (int32_t i = 0; i < config.NumInputs; ++i)
            pins[static_cast<std::size_t>(design.inputPins[static_cast<std::size_t>(i)])] = in[i];
        const PinLevels driven = device.Run(pins);
        for (int32_t o = 0; o < config.NumOutputs; ++o) {
            const int32_t pin = design.outputPins[static_cast<std::size_t>(o)];
            ASSERT_EQ(driven[static_cast<std::size_t>(pin)], out[o]) << "output " << o << " pin " << pin << " row " << r;
            pins[static_cast<std::size_t>(pin)] = out[o];
        }
        ASSERT_EQ(driven, pins) << "a pin without a signal is driven, row " << r;
    }
}

BitString RandomChromosome(const PalConfig& config, std::mt19937& random)
{
    // Few fuses per term so that terms stay possible; some never-true ones.
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    const uint32_t percent = 6 + random() % 20;
    for (uint32_t k = 0; k < chromosome.Size(); ++k)
        chromosome[k] = random() % 100 < percent ? 1 : 0;
    return chromosome;
}
} // namespace

TEST(GalExport, SimulatedDeviceEqualsThePalForEverySizeThatFits)
{
    std::mt19937 random(21);
    for (GalType type : {GalType::Gal16V8, GalType::Gal22V10}) {
        const int32_t cells = static_cast<int32_t>(MakeGalDevice(type).cells.size());
        for (int32_t n = 1; n <= PalConfig::MaxInputs; ++n)
            for (int32_t m = 1; m <= cells; ++m) {
                // Every count of AND terms from 1 to 16 comes up for each device.
                const PalConfig config{n, 1 + (n * cells + m) % 16, m};
                SCOPED_TRACE(std::string(GalName(type)) + " " + std::to_string(n) + "/" +
                             std::to_string(config.NumAndTerms) + "/" + std::to_string(m));
                const BitString chromosome = RandomChromosome(config, random);
                const SumOfProducts circuit = CircuitOf(config, chromosome);
                GalFit fit = FitGal(type, circuit);
                if (!fit) {
                    ASSERT_TRUE(fit.tooManyTerms) << fit.problem;
                    fit = FitGal(type, MinimumSumOfProducts(circuit, {DefaultCoverNodeBudget, DefaultCoverTimeLimit}));
                }
                if (fit)
                    ExpectDeviceEqualsPal(*fit.design, config, chromosome);
            }
    }
}

TEST(GalExport, MinimumSolutionsOfRandomTablesOnTheDevice)
{
    std::mt19937 random(2194);
    for (int round = 0; round < 24; ++round) {
        const GalType type = round % 2 ? GalType::Gal22V10 : GalType::Gal16V8;
        const int32_t n = 2 + round % 9, m = 1 + round % 8;
        TruthTable cells(static_cast<std::size_t>((1 << n) * m));
        for (int32_t& cell : cells)
            cell = static_cast<int32_t>(random() % 3) - 1; // DontCare, 0, 1
        const TableCover cover = MinimumTableCover(cells, n, m, {DefaultCoverNodeBudget, DefaultCoverTimeLimit});
        std::vector<std::vector<Cube>> terms;
        for (const OutputCover& output : cover.outputs)
            terms.push_back(output.terms);
        const PalConfig config{n, std::max(1, cover.Terms()), m};
        const BitString chromosome = ProgramTerms(config, terms);
        const GalFit fit = FitGal(type, CircuitOf(config, chromosome));
        SCOPED_TRACE(round);
        if (fit)
            ExpectDeviceEqualsPal(*fit.design, config, chromosome);
        else
            EXPECT_GT(cover.Terms(), 8) << fit.problem;
    }
}

TEST(GalExport, NeverTrueTermsTakeNoRow)
{
    // 12 terms, of which only output 0's first 8 can be true: fits the GAL16V8.
    const PalConfig config{3, 12, 1};
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    for (int32_t t = 0; t < 12; ++t) {
        chromosome[static_cast<uint32_t>(config.FuseIndex(0, t, t % 3, t % 2))] = 1;
        if (t >= 8)
            chromosome[static_cast<uint32_t>(config.FuseIndex(0, t, 1, 1 - (t % 2)))] = 1,
            chromosome[static_cast<uint32_t>(config.FuseIndex(0, t, 1, t % 2))] = 1;
    }
    const GalFit fit = FitGal(GalType::Gal16V8, CircuitOf(config, chromosome));
    ASSERT_TRUE(fit) << fit.problem;
    EXPECT_EQ(fit.design->terms[0].size(), 8u);
    ExpectDeviceEqualsPal(*fit.design, config, chromosome);
}

TEST(GalFit, AssignsCellsOrRefusesNamingTheOutput)
{
    struct Case {
        GalType type;
        std::vector<int32_t> termsPerOutput;
        std::vector<int32_t> pins; // empty: refused
        std::string problem;
        bool tooManyTerms;
    };
    const Case cases[] = {
        {GalType::Gal22V10, {8, 3, 0}, {14, 15, 16}, "", false},
        {GalType::Gal22V10, {9, 16, 16, 14}, {20, 18, 19, 17}, "", false},
        {GalType::Gal22V10, {16, 16, 16}, {},
         "Output 2 needs 16 AND terms; the GAL22V10 allows 16 or more on only 2 of its cells "
         "(8, 10, 12, 14, 16, 16, 14, 12, 10, 8), and 2 outputs need at least as many.",
         true},
        {GalType::Gal22V10, {2, 17}, {},
         "Output 1 needs 17 AND terms; the GAL22V10 allows at most 16 per output (its cells hold "
         "8, 10, 12, 14, 16, 16, 14, 12, 10, 8).",
         true},
        {GalType::Gal16V8, {8, 0, 8, 1, 1, 1, 1, 1}, {12, 13, 14, 15, 16, 17, 18, 19}, "", false},
        {GalType::Gal16V8, {3, 9}, {}, "Output 1 needs 9 AND terms; the GAL16V8 allows 8 per output.", true},
        {GalType::Gal16V8, std::vector<int32_t>(9, 1), {},
         "The GAL16V8 has 8 output cells; the PAL has 9 outputs.", false},
    };
    for (const Case& c : cases) {
        SumOfProducts circuit;
        circuit.numInputs = 4;
        for (int32_t terms : c.termsPerOutput)
            circuit.terms.emplace_back(static_cast<std::size_t>(terms), Cube{1, 1});
        const GalFit fit = FitGal(c.type, circuit);
        EXPECT_EQ(fit ? fit.design->outputPins : std::vector<int32_t>{}, c.pins);
        EXPECT_EQ(fit.problem, c.problem);
        EXPECT_EQ(fit.tooManyTerms, c.tooManyTerms);
    }
}

TEST(GalFit, Signatures)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Orvik", ""},
        {"", ""},
        {"8 chars!", ""},
        {"NineChars", "A signature has at most 8 characters."},
        {"tab\there", "A signature holds only letters, digits, spaces and ASCII punctuation."},
    };
    for (const auto& [signature, problem] : cases)
        EXPECT_EQ(GalSignatureProblem(signature), problem) << signature;
}

TEST(GalSource, EquationsAndPinNames)
{
    SumOfProducts circuit;
    circuit.numInputs = 3;
    circuit.terms = {{Cube{0b110, 0b100}, Cube{0b001, 0b001}}, {}, {Cube{}}};
    circuit.outputLabels = {"Left", "", ""};
    const GalFit fit = FitGal(GalType::Gal16V8, circuit, "Test");
    ASSERT_TRUE(fit);
    EXPECT_EQ(FormatGalSource(*fit.design),
              "GAL16V8\nTest\n\n"
              "NC   I0   I1   I2   NC   NC   NC   NC   NC   GND\n"
              "NC   O0   O1   O2   NC   NC   NC   NC   NC   VCC\n\n"
              "O0 = I0 * /I1\n"
              "   + I2\n\n"
              "O1 = GND\n\n"
              "O2 = VCC\n\n"
              "DESCRIPTION\n\nAn evolved PAL individual, exported by Orvik.\nPin-out:\n"
              "  Pin 2   I0  input\n  Pin 3   I1  input\n  Pin 4   I2  input\n"
              "  Pin 12  O0  output, 2 of 8 product terms (Left)\n"
              "  Pin 13  O1  output, 0 of 8 product terms\n"
              "  Pin 14  O2  output, 1 of 8 product terms\n");
}
