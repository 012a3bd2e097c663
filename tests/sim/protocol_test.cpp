// Command lines in, reply lines out: what the workbench sends and parses.
#include "command_handler.h"
#include "arena_presets.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string_view>

namespace {

using ksim::CommandKind;

// True when `reply` is `letter`, then `count` comma-separated numbers of 1 to
// 4 digits, then CR LF, and nothing else.
bool isNumberReply(std::string_view reply, char letter, int count)
{
    if (!reply.ends_with("\r\n") || reply.empty() || reply.front() != letter)
        return false;
    std::string_view rest = reply.substr(1, reply.size() - 3);
    for (int i = 0; i < count; ++i) {
        if (rest.empty() || rest.front() != ',')
            return false;
        rest.remove_prefix(1);
        std::size_t digits = 0;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
            ++digits;
        if (digits < 1 || digits > 4)
            return false;
        rest.remove_prefix(digits);
    }
    return rest.empty();
}

struct ParseCase {
    const char *line;
    CommandKind kind;
    int left;
    int right;
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << '"' << c.line << '"';
}

class ParseCommandLine : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLine, RecognisesTheGrammar)
{
    const ParseCase &c = GetParam();
    const ksim::Command command = ksim::parseCommandLine(c.line);
    EXPECT_EQ(command.kind, c.kind) << '"' << c.line << '"';
    if (c.kind == CommandKind::SetSpeed) {
        EXPECT_EQ(command.speeds.left, c.left);
        EXPECT_EQ(command.speeds.right, c.right);
    }
}

INSTANTIATE_TEST_SUITE_P(KheperaSim, ParseCommandLine, testing::Values(
    ParseCase{"D,10,10", CommandKind::SetSpeed, 10, 10},
    ParseCase{"D,-5,0", CommandKind::SetSpeed, -5, 0},
    ParseCase{"d,3,-30", CommandKind::SetSpeed, 3, -30},
    ParseCase{"D, 7 , +8 ", CommandKind::SetSpeed, 7, 8},
    ParseCase{"D,127,-127", CommandKind::SetSpeed, 127, -127},
    ParseCase{"N", CommandKind::ReadProximity, 0, 0},
    ParseCase{"n", CommandKind::ReadProximity, 0, 0},
    ParseCase{"E", CommandKind::ReadSpeed, 0, 0},
    ParseCase{"e", CommandKind::ReadSpeed, 0, 0},
    ParseCase{"B", CommandKind::ReadVersion, 0, 0},
    ParseCase{"b ", CommandKind::ReadVersion, 0, 0},
    // malformed or unknown
    ParseCase{"", CommandKind::Invalid, 0, 0},
    ParseCase{"D", CommandKind::Invalid, 0, 0},
    ParseCase{"D,5", CommandKind::Invalid, 0, 0},
    ParseCase{"D,5,", CommandKind::Invalid, 0, 0},
    ParseCase{"D,5,5,5", CommandKind::Invalid, 0, 0},
    ParseCase{"D,a,5", CommandKind::Invalid, 0, 0},
    ParseCase{"D,1.5,5", CommandKind::Invalid, 0, 0},
    ParseCase{"D5,5", CommandKind::Invalid, 0, 0},
    ParseCase{"D,128,0", CommandKind::Invalid, 0, 0},
    ParseCase{"D,0,-128", CommandKind::Invalid, 0, 0},
    ParseCase{"D,99999999999,0", CommandKind::Invalid, 0, 0},
    ParseCase{"N,1", CommandKind::Invalid, 0, 0},
    ParseCase{"Nx", CommandKind::Invalid, 0, 0},
    ParseCase{" N", CommandKind::Invalid, 0, 0},
    ParseCase{"X", CommandKind::Invalid, 0, 0},
    ParseCase{"H", CommandKind::Invalid, 0, 0}));

// The workbench accepts a reply when its first byte is the command's first
// byte with bit 0x20 set; an error must therefore never start that way.
TEST(KheperaSimErrorReply, NeverPassesTheEchoCheckForAnyFirstByte)
{
    for (int byte = 1; byte < 256; ++byte) {
        const std::string line(1, static_cast<char>(byte));
        const std::string reply = ksim::errorReply(line + ",1");
        ASSERT_FALSE(reply.empty());
        EXPECT_NE(static_cast<unsigned char>(reply[0]), static_cast<unsigned char>(byte | 0x20)) << byte;
        EXPECT_EQ(reply.substr(reply.size() - 2), "\r\n");
    }
    EXPECT_EQ(ksim::errorReply("X"), "z,Protocol error\r\n");
}

class KheperaSimCommandHandler : public testing::Test {
protected:
    ksim::RobotWorld world{ksim::makeDefaultArena(), ksim::Pose{}};
};

TEST_F(KheperaSimCommandHandler, SetSpeedAnswersDAndTheSpeedsAreReadBack)
{
    EXPECT_EQ(ksim::handleCommandLine(world, "D,10,-5"), "d\r\n");
    EXPECT_EQ(world.wheelSpeeds().left, 10);
    EXPECT_EQ(world.wheelSpeeds().right, -5);
    EXPECT_EQ(ksim::handleCommandLine(world, "E"), "e,10,-5\r\n");
}

TEST_F(KheperaSimCommandHandler, LowerCaseCommandsAreAnsweredLikeUpperCase)
{
    EXPECT_EQ(ksim::handleCommandLine(world, "d,3,4"), "d\r\n");
    EXPECT_EQ(ksim::handleCommandLine(world, "e"), "e,3,4\r\n");
    EXPECT_EQ(ksim::handleCommandLine(world, "b"), ksim::handleCommandLine(world, "B"));
    EXPECT_EQ(ksim::handleCommandLine(world, "n"), ksim::handleCommandLine(world, "N"));
}

TEST_F(KheperaSimCommandHandler, ProximityReplyParsesWithTheWorkbenchFormat)
{
    const std::string reply = ksim::handleCommandLine(world, "N");
    unsigned v[8];
    EXPECT_EQ(std::sscanf(reply.c_str(), "n,%u,%u,%u,%u,%u,%u,%u,%u", &v[0], &v[1], &v[2], &v[3],
                          &v[4], &v[5], &v[6], &v[7]),
              8);
    EXPECT_TRUE(isNumberReply(reply, 'n', 8)) << reply;
}

TEST_F(KheperaSimCommandHandler, SpeedReplyParsesWithTheWorkbenchFormat)
{
    ksim::handleCommandLine(world, "D,-5,10");
    int left = 0;
    int right = 0;
    EXPECT_EQ(std::sscanf(ksim::handleCommandLine(world, "E").c_str(), "e,%d,%d", &left, &right), 2);
    EXPECT_EQ(left, -5);
    EXPECT_EQ(right, 10);
}

TEST_F(KheperaSimCommandHandler, VersionReplyStartsWithB)
{
    const std::string reply = ksim::handleCommandLine(world, "B");
    EXPECT_TRUE(reply.starts_with("b,")) << reply;
    EXPECT_TRUE(reply.ends_with("\r\n")) << reply;
    EXPECT_EQ(reply.find_first_of("\r\n"), reply.size() - 2) << reply;
}

TEST_F(KheperaSimCommandHandler, MalformedSetSpeedIsAnErrorAndKeepsTheSpeeds)
{
    ksim::handleCommandLine(world, "D,2,2");
    for (const char *line : {"D,5", "D,5,x", "D,500,0", "D"}) {
        const std::string reply = ksim::handleCommandLine(world, line);
        EXPECT_NE(reply[0], 'd') << line;
        EXPECT_EQ(reply, "z,Protocol error\r\n") << line;
    }
    EXPECT_EQ(world.wheelSpeeds().left, 2);
    EXPECT_EQ(world.wheelSpeeds().right, 2);
}

TEST_F(KheperaSimCommandHandler, UnknownCommandsGetAnErrorNotStartingWithTheirLetter)
{
    for (const char *line : {"X", "G,0,0", "H", "z", "Z,1", ""}) {
        const std::string reply = ksim::handleCommandLine(world, line);
        ASSERT_FALSE(reply.empty());
        if (*line) {
            EXPECT_NE(reply[0], line[0] | 0x20) << line;
        }
        EXPECT_TRUE(reply.ends_with(",Protocol error\r\n")) << line;
    }
}

} // namespace
