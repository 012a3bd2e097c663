// The robot's commands: exact bytes sent and the parsing of the replies.
#include "kkhepera.h"
#include "ptyrobot.h"
#include "robotcommands.h"

#include <gtest/gtest.h>

#include <array>

namespace {
using Readings = std::array<uint32_t, 8>;

// A link on a fresh pseudo-terminal, with the robot's reply already waiting.
struct Bench {
    PtyRobot robot;
    KKhepera link{robot.SlavePath()};
};

TEST(RobotCommands, SetSpeedSendsExactBytes)
{
    struct Case {
        int left, right;
        std::string bytes;
    };
    for (const Case& c : {Case{10, 0, "D,10,0\r"}, Case{-5, 10, "D,-5,10\r"},
                          Case{30, -30, "D,30,-30\r"}, Case{100, -100, "D,100,-100\r"}}) {
        Bench b;
        ASSERT_TRUE(b.link.IsOpen());
        b.robot.Send("d\r\n");
        CommandSetSpeed(b.link, c.left, c.right); // the speeds are not limited here
        EXPECT_EQ(b.robot.Drain(), c.bytes);
    }
}

TEST(RobotCommands, ReadCommandsSendExactBytes)
{
    Bench b;
    b.robot.Send("n,0,0,0,0,0,0,0,0\r\n");
    uint32_t readings[8];
    EXPECT_TRUE(CommandProximity(b.link, readings));
    EXPECT_EQ(b.robot.Drain(), "N\r");
    b.robot.Send("e,0,0\r\n");
    int left = 1, right = 1;
    EXPECT_TRUE(CommandReadSpeed(b.link, left, right));
    EXPECT_EQ(b.robot.Drain(), "E\r");
}

struct ProximityCase {
    const char* name;
    std::string reply;
    bool ok;
    Readings readings;
};
void PrintTo(const ProximityCase& c, std::ostream* os) { *os << c.name; }
class RobotCommandsProximity : public ::testing::TestWithParam<ProximityCase> {};

TEST_P(RobotCommandsProximity, ParsesEightValuesOrGivesZeros)
{
    const ProximityCase& c = GetParam();
    Bench b;
    b.robot.Send(c.reply);
    LogRecorder log;
    Readings readings;
    readings.fill(77);
    EXPECT_EQ(CommandProximity(b.link, readings.data()), c.ok);
    EXPECT_EQ(readings, c.readings);
    EXPECT_EQ(log.Count("DoCommand. Try "), 1); // a parse failure is not retried
    EXPECT_EQ(log.Count("Error parsing proximity sensors\n"), c.ok ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RobotCommandsProximity,
    ::testing::Values(
        ProximityCase{"EightValues", "n,1,2,3,4,5,6,7,1023\r\n", true, {1, 2, 3, 4, 5, 6, 7, 1023}},
        ProximityCase{"BlanksBeforeNumbers", "n, 10,\t20, 30,40,50,60,70,80\r\n", true,
                      {10, 20, 30, 40, 50, 60, 70, 80}},
        ProximityCase{"TrailingTextIgnored", "n,1,1,1,1,1,1,1,1,9,junk\r\n", true,
                      {1, 1, 1, 1, 1, 1, 1, 1}},
        // The sensors give 10 bits: an odd reply cannot carry more.
        ProximityCase{"ValuesAboveTheSensorRangeAreClamped", "n,200000000,1024,1023,0,4294967295,5,6,7\r\n", true,
                      {1023, 1023, 1023, 0, 1023, 5, 6, 7}},
        ProximityCase{"SevenValues", "n,1,2,3,4,5,6,7\r\n", false, {}},
        ProximityCase{"NotANumber", "n,1,2,3,x,5,6,7,8\r\n", false, {}},
        ProximityCase{"LetterOnly", "n\r\n", false, {}},
        ProximityCase{"BlankAfterLetter", "n ,1,2,3,4,5,6,7,8\r\n", false, {}}),
    [](const ::testing::TestParamInfo<ProximityCase>& info) { return std::string(info.param.name); });

struct SpeedCase {
    const char* name;
    std::string reply;
    bool ok;
    int left, right;
};
void PrintTo(const SpeedCase& c, std::ostream* os) { *os << c.name; }
class RobotCommandsReadSpeed : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(RobotCommandsReadSpeed, ParsesTwoValuesOrGivesZeros)
{
    const SpeedCase& c = GetParam();
    Bench b;
    b.robot.Send(c.reply);
    LogRecorder log;
    int left = 77, right = 77;
    EXPECT_EQ(CommandReadSpeed(b.link, left, right), c.ok);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);
    EXPECT_EQ(log.Count("DoCommand. Try "), 1);
    EXPECT_EQ(log.Count("CommandReadSpeed received: '"), 1);
    EXPECT_EQ(log.Count("CommandReadSpeed sscanf error\n"), c.ok ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RobotCommandsReadSpeed,
    ::testing::Values(SpeedCase{"TwoValues", "e,5,-3\r\n", true, 5, -3},
                      SpeedCase{"Blanks", "e, -5, 10\r\n", true, -5, 10},
                      SpeedCase{"OneValue", "e,5\r\n", false, 0, 0},
                      SpeedCase{"NoValue", "e\r\n", false, 0, 0}),
    [](const ::testing::TestParamInfo<SpeedCase>& info) { return std::string(info.param.name); });

TEST(RobotCommands, SilentRobotGivesZerosAndTheCommandsOwnMessages)
{
    Bench b;
    LogRecorder log;
    Readings readings;
    readings.fill(5);
    EXPECT_FALSE(CommandProximity(b.link, readings.data()));
    EXPECT_EQ(readings, Readings{});
    EXPECT_EQ(log.Count("Error reading proximity sensors\n"), 1);

    int left = 5, right = 5;
    EXPECT_FALSE(CommandReadSpeed(b.link, left, right));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(log.Count("CommandReadSpeed Khepera.DoCommand error\n"), 1);
    EXPECT_EQ(log.Count("DoCommand. Try 2\n"), 2);
}

TEST(RobotCommands, RawCommandIsSentWithCrAndItsReplyLogged)
{
    Bench b;
    b.robot.Send("b,5,0\r\n");
    LogRecorder log;
    EXPECT_TRUE(SendRawCommand(b.link, QStringLiteral("b")));
    EXPECT_EQ(b.robot.Drain(), "b\r");
    EXPECT_EQ(log.Count("Received(1): 'b,5,0'\n"), 1);
}

TEST(RobotCommands, OverlongRawCommandIsCutToFitTheBuffer)
{
    Bench b;
    b.robot.Send("a\r\n");
    SendRawCommand(b.link, QString(400, QChar('a')));
    EXPECT_EQ(b.robot.Drain(), std::string(KKhepera::LineBufferSize - 2, 'a') + "\r");
}

TEST(RobotCommands, FailedRawCommandLogsATerminatedBuffer)
{
    Bench b;
    // Every try gets a reply that stops mid-line: the buffer keeps those
    // bytes, and what is logged must still end where they end.
    b.robot.Answer([](const std::string&) { return std::string("xyz"); });
    LogRecorder log;
    EXPECT_FALSE(SendRawCommand(b.link, QStringLiteral("Q")));
    b.robot.StopAnswering();
    EXPECT_EQ(log.Count("Received(0): 'xyz'\n"), 1) << log.text;
}
} // namespace
