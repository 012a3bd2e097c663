// Cutting the byte stream from the serial line into command lines.
#include "line_assembler.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> texts(const std::vector<ksim::LineAssembler::Line> &lines)
{
    std::vector<std::string> out;
    for (const auto &line : lines)
        out.push_back(line.text);
    return out;
}

using Texts = std::vector<std::string>;

TEST(KheperaSimLineAssembler, CarriageReturnEndsALineAndPiecesAreJoined)
{
    ksim::LineAssembler assembler;
    EXPECT_TRUE(assembler.feed("D,1").empty());
    EXPECT_EQ(texts(assembler.feed("0,10\rN\rE")), (Texts{"D,10,10", "N"}));
    EXPECT_EQ(texts(assembler.feed("\r")), (Texts{"E"}));
}

TEST(KheperaSimLineAssembler, LineFeedsAreDroppedAndMakeNoEmptyLines)
{
    ksim::LineAssembler assembler;
    EXPECT_EQ(texts(assembler.feed("N\r\nE\r\n\nB\n\r")), (Texts{"N", "E", "B"}));
}

TEST(KheperaSimLineAssembler, LoneCarriageReturnIsAnEmptyLine)
{
    ksim::LineAssembler assembler;
    EXPECT_EQ(texts(assembler.feed("\r")), (Texts{""}));
}

TEST(KheperaSimLineAssembler, OverlongLineIsCutAndFlaggedAndTheNextIsClean)
{
    ksim::LineAssembler assembler;
    const auto lines = assembler.feed(std::string(1000, 'N') + "\rN\r");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].overflowed);
    EXPECT_EQ(lines[0].text.size(), ksim::LineAssembler::kMaxLineLength);
    EXPECT_FALSE(lines[1].overflowed);
    EXPECT_EQ(lines[1].text, "N");
}

TEST(KheperaSimLineAssembler, ResetForgetsAPartialLine)
{
    ksim::LineAssembler assembler;
    assembler.feed("garbage");
    assembler.reset();
    EXPECT_EQ(texts(assembler.feed("N\r")), (Texts{"N"}));
}

} // namespace
