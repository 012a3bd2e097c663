// ReadLn and ReadByte against a pseudo-terminal on which the test writes the
// robot's bytes itself.
#include "kkhepera.h"
#include "ptyrobot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
struct LineCase {
    const char* name;
    std::string sent;
    int length;           // ReadLn's result
    std::string expected; // buffer contents up to the terminator
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class KKheperaReadLnCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(KKheperaReadLnCases, ReturnsLengthAndTerminatedLine)
{
    const LineCase& c = GetParam();
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    ASSERT_TRUE(link.IsOpen()) << link.LastOpenError().toStdString();
    robot.Send(c.sent);

    char buffer[KKhepera::LineBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(link.ReadLn(buffer), c.length);
    ASSERT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr);
    EXPECT_EQ(std::string(buffer), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KKheperaReadLnCases,
    ::testing::Values(
        LineCase{"FiveCharactersCrLf", "abcde\r\n", 5, "abcde"},
        // The last two bytes go whatever they are.
        LineCase{"BareLfLosesTwoBytes", "ab\n", 1, "a"},
        LineCase{"LoneLfKeepsTheLf", "\n", 0, "\n"},
        LineCase{"EmptyLine", "\r\n", 0, ""},
        LineCase{"StopsAtFirstLf", "n,1\r\nrest\r\n", 3, "n,1"},
        LineCase{"LongestThatFits", std::string(255, 'a') + "\r\n", 255, std::string(255, 'a')},
        LineCase{"OneShorter", std::string(254, 'b') + "\r\n", 254, std::string(254, 'b')}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(KKheperaReadLn, OverlongLineIsReadToItsLfAndCutWithoutOverrun)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    const std::string longLine = std::string(200, 'a') + std::string(200, 'b');
    robot.Send(longLine + "\r\nnext\r\n");

    // A 256-byte window inside a larger block: the bytes around it must survive.
    char block[KKhepera::LineBufferSize + 64];
    std::memset(block, '#', sizeof block);
    char* buffer = block + 32;
    EXPECT_EQ(link.ReadLn(buffer), 255);
    EXPECT_EQ(std::string(buffer), longLine.substr(0, 255));
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(block[k], '#');
        EXPECT_EQ(buffer[KKhepera::LineBufferSize + k], '#');
    }
    // The rest of the long line was consumed: the next read gets the next line.
    EXPECT_EQ(link.ReadLn(buffer), 4);
    EXPECT_EQ(std::string(buffer), "next");
}

TEST(KKheperaReadLn, ReplyStoppingMidLineFailsAndLogs)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    LogRecorder log;
    robot.Send("n,12");

    char buffer[KKhepera::LineBufferSize];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.ReadLn(buffer), -1);
    EXPECT_LT(SecondsSince(start), 3.0); // one second without a byte, with room for a loaded machine
    EXPECT_EQ(std::string(buffer, 4), "n,12");
    EXPECT_EQ(log.text, "ReadLn: ReadByte failed\n");
}

TEST(KKheperaReadByte, ClosedLinkTimesOutInsteadOfHanging)
{
    KKhepera link(QStringLiteral("/nonexistent/orvik-serial"));
    ASSERT_FALSE(link.IsOpen());
    char byte = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.ReadByte(&byte));
    EXPECT_LT(SecondsSince(start), 3.0);
}

// A device that keeps sending without ever ending its line must not hold the
// program: the read gives up after its overall limit, as for a silent robot.
TEST(KKheperaReadLn, BabblingDeviceFailsLikeASilentOne)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    LogRecorder log;
    Babbler babbler(robot, std::chrono::seconds(20));

    char block[KKhepera::LineBufferSize + 16];
    std::memset(block, '#', sizeof block);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.ReadLn(block), -1);
    EXPECT_LT(SecondsSince(start), 6.0);
    EXPECT_EQ(log.Count("ReadLn: "), 1) << log.text;
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(block[KKhepera::LineBufferSize + k], '#');
}

TEST(KKheperaEmptyBuffer, BabblingDeviceIsDrainedForAFewSecondsAtMost)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    Babbler babbler(robot, std::chrono::seconds(20));
    char first = 0;
    ASSERT_TRUE(link.ReadByte(&first));

    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    link.EmptyBuffer();
    EXPECT_LT(SecondsSince(start), 6.0);
    EXPECT_EQ(log.Count("Read "), 1) << log.text;
}
} // namespace
