#include "plafile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

namespace {
// The cells of one output, rows in order, as "01X" characters.
std::string Column(const PlaTable& table, int32_t output)
{
    std::string text;
    const uint32_t rows = 1u << table.numInputs;
    for (uint32_t r = 0; r < rows; ++r) {
        const int32_t cell = table.cells[r * static_cast<uint32_t>(table.numOutputs) + static_cast<uint32_t>(output)];
        text += cell == DontCare ? 'X' : static_cast<char>('0' + cell);
    }
    return text;
}

PlaTable Read(const std::string& text)
{
    const PlaReadResult result = ReadPla(text);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    return result.table;
}

std::string Refusal(const std::string& text)
{
    const PlaReadResult result = ReadPla(text);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.table.cells.empty());
    return result.message;
}
} // namespace

TEST(PlaRead, ReadsHeaderLabelsCommentsAndCubes)
{
    const PlaTable table = Read("# a full adder's carry and sum\n"
                                ".i 3\n"
                                ".o 2   # two outputs\n"
                                ".ilb a b cin\n"
                                ".ob cout sum\n"
                                ".p 7\n"
                                "11- 10\n"
                                "1-1 10\n"
                                "-11\t10\n"
                                "0 0 1 0 1\n" // white space anywhere inside a cube
                                "010 01\n"
                                "100 01\n"
                                "11101\n" // no separator at all
                                ".e\n");
    EXPECT_EQ(table.numInputs, 3);
    EXPECT_EQ(table.numOutputs, 2);
    EXPECT_EQ(table.inputLabels, (std::vector<std::string>{"a", "b", "cin"}));
    EXPECT_EQ(table.outputLabels, (std::vector<std::string>{"cout", "sum"}));
    ASSERT_EQ(table.cells.size(), 16u);
    EXPECT_EQ(Column(table, 0), "00010111");
    EXPECT_EQ(Column(table, 1), "01101001");
}

TEST(PlaRead, EachTypeGivesItsSetsAndItsUnmentionedCells)
{
    // Rows 0..3 of one output: a cube of each output value for rows 0..2,
    // row 3 unmentioned.
    const std::string cubes = "00 1\n01 0\n10 -\n";
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type f\n" + cubes), 0), "1000");
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type fd\n" + cubes), 0), "10X0");
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n" + cubes), 0), "10X0") << "fd when .type is absent";
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type fr\n" + cubes), 0), "10XX");
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type fdr\n" + cubes), 0), "10XX");
    // '~' means nothing in every type.
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type fdr\n00 ~\n"), 0), "XXXX");
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n00 ~\n"), 0), "0000");
}

TEST(PlaRead, DontCareWinsOverOnAndOffSets)
{
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n0- 1\n-0 -\n"), 0), "X1X0");
    EXPECT_EQ(Column(Read(".i 2\n.o 1\n.type fdr\n0- 0\n-0 -\n1- 1\n"), 0), "X0X1");
}

TEST(PlaRead, CrLfLinesAndTextAfterTheEndAreFine)
{
    const PlaTable table = Read(".i 1\r\n.o 1\r\n1 1\r\n.end\r\nanything at all ~~~\n");
    EXPECT_EQ(Column(table, 0), "01");
    EXPECT_TRUE(table.inputLabels.empty());
    EXPECT_TRUE(table.outputLabels.empty());
}

TEST(PlaRead, AFileWithoutCubesIsAllZero)
{
    const PlaTable table = Read(".i 10\n.o 10\n");
    EXPECT_EQ(table.cells, TruthTable(10240, 0));
}

TEST(PlaRead, RefusesWhatDoesNotFitOrIsNotAPla)
{
    EXPECT_EQ(Refusal(".i 11\n.o 1\n"), "Line 1: the file has 11 inputs; the PAL has at most 10.");
    EXPECT_EQ(Refusal(".i 2\n.o 12\n"), "Line 2: the file has 12 outputs; the PAL has at most 10.");
    EXPECT_EQ(Refusal(".i 99999999999999999999\n"), "Line 1: the file has 1099511627776 inputs; the PAL has at most 10.");
    EXPECT_EQ(Refusal(".i 0\n.o 1\n"), "Line 1: the file has 0 inputs; the PAL needs at least 1.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n001 1\n00 1\n"), "Line 3: the cube has 4 values; .i 2 and .o 1 need 3.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n0 1\n00 1\n"), "Line 3: the cube has 2 values; .i 2 and .o 1 need 3.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n0x 1\n"), "Line 3: 'x' is not an input value (0, 1 or -).");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n0~ 1\n"), "Line 3: '~' is not an input value (0, 1 or -).");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n00 2\n"), "Line 3: '2' is not an output value (0, 1, - or ~).");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n00 1\n\t\n0"), "The file ends inside a cube (line 5).");
    EXPECT_EQ(Refusal(".i 2\n.o 2\n00 1# comment\n"), "The file ends inside a cube (line 3).");
    EXPECT_EQ(Refusal("00 1\n"), "Line 1: a cube comes before .i and .o.");
    EXPECT_EQ(Refusal(".i 2\n"), "The file does not give its number of outputs (.o).");
    EXPECT_EQ(Refusal(".o 2\n"), "The file does not give its number of inputs (.i).");
    EXPECT_EQ(Refusal(""), "The file does not give its number of inputs (.i).");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n.ilb a b c\n"), "Line 3: .ilb names 3 inputs; .i says 2.");
    EXPECT_EQ(Refusal(".ob y\n.o 1\n"), "Line 1: .ob comes before .o.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n.type fx\n"), "Line 3: .type fx is not one of f, fd, fr, fdr.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n00 1\n.type fr\n"), "Line 4: .type comes after the first cube.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n00 1\n.i 3\n"), "Line 4: .i comes after the first cube.");
    EXPECT_EQ(Refusal(".i 2\n.i 3\n"), "Line 2: .i is given twice with different numbers.");
    EXPECT_EQ(Refusal(".i two\n"), "Line 1: .i needs one number.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n.mv 3 0 2 2\n"),
              "Line 3: .mv is not supported: only binary PLA files with .i, .o, .p, .ilb, .ob, .type and .e can be "
              "imported.");
    EXPECT_EQ(Refusal(".i 2\n.o 1\n0\x01 1\n"), "Line 3: character 0x01 is not allowed in a PLA file.");
    EXPECT_EQ(Refusal(std::string(".i 2\n.o 1\n0\0 1\n", 15)), "Line 3: character 0x00 is not allowed in a PLA file.");
}

TEST(PlaRead, ACellInBothTheOnAndTheOffSetIsRefusedWithItsRowAndOutput)
{
    EXPECT_EQ(Refusal(".i 3\n.o 2\n.type fr\n1-1 01\n101 00\n"),
              "Line 5: row 5 (inputs 101), output 1 is both in the on-set and the off-set.");
    // Type fd has no off-set: the same file is fine.
    EXPECT_TRUE(ReadPla(".i 3\n.o 2\n1-1 01\n101 00\n").ok);
}

TEST(PlaRead, ReadsAFileByPath)
{
    const std::string path = ::testing::TempDir() + "/plafile_test.pla";
    {
        std::ofstream out(path);
        out << ".i 1\n.o 1\n0 1\n.e\n";
    }
    const PlaReadResult result = ReadPlaFile(path);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(Column(result.table, 0), "10");
    EXPECT_FALSE(ReadPlaFile(path + ".missing").ok);
}

TEST(PlaWrite, TableToPlaAndBackGivesTheSameTable)
{
    std::mt19937 random(13);
    for (int32_t n = 1; n <= 10; ++n) {
        for (int32_t m : {1, 3, 10}) {
            PlaTable table;
            table.numInputs = n;
            table.numOutputs = m;
            table.cells.resize((std::size_t{1} << n) * static_cast<std::size_t>(m));
            for (int32_t& cell : table.cells)
                cell = static_cast<int32_t>(random() % 3) - 1;
            if (m == 3) {
                table.inputLabels.assign(static_cast<std::size_t>(n), "in");
                table.outputLabels = {"x", "y[0]", "z_1"};
            }
            const std::string text = FormatPlaTable(table);
            const PlaTable back = Read(text);
            EXPECT_EQ(back.numInputs, n);
            EXPECT_EQ(back.numOutputs, m);
            EXPECT_EQ(back.cells, table.cells) << text;
            EXPECT_EQ(back.inputLabels, table.inputLabels);
            EXPECT_EQ(back.outputLabels, table.outputLabels);
        }
    }
}

TEST(PlaWrite, WritesTypeFdWithOneCubePerRowThatIsNotAllZero)
{
    PlaTable table;
    table.numInputs = 2;
    table.numOutputs = 2;
    table.cells = {0, 0, 1, DontCare, 0, 7, DontCare, 1};
    EXPECT_EQ(FormatPlaTable(table), ".i 2\n.o 2\n.type fd\n.p 2\n01 1-\n11 -1\n.e\n");
}
