// DoCommand's echo check, retries and recovery against a scripted robot.
#include "kkhepera.h"
#include "ptyrobot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// Answers each line with the next reply of the script (the last one repeats).
PtyRobot::Responder Script(std::vector<std::string> replies)
{
    auto next = std::make_shared<std::size_t>(0);
    return [replies, next](const std::string&) {
        const std::string& reply = replies[std::min(*next, replies.size() - 1)];
        ++*next;
        return reply;
    };
}

struct EchoCase {
    const char* name;
    const char* command;
    std::vector<std::string> replies;
    bool ok;
    int tries; // command lines the robot saw
    std::string reply;
};

void PrintTo(const EchoCase& c, std::ostream* os) { *os << c.name; }

class DoCommandEcho : public ::testing::TestWithParam<EchoCase> {};

TEST_P(DoCommandEcho, AcceptsOnlyTheLowerCaseLetter)
{
    const EchoCase& c = GetParam();
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    robot.Answer(Script(c.replies));
    LogRecorder log;

    char reply[KKhepera::LineBufferSize];
    EXPECT_EQ(link.DoCommand(c.command, reply), c.ok);
    robot.StopAnswering();
    EXPECT_EQ(static_cast<int>(robot.Commands().size()), c.tries);
    EXPECT_EQ(log.Count("DoCommand. Try "), c.tries);
    EXPECT_EQ(std::string(reply), c.reply);
    EXPECT_FALSE(link.Lost()); // it answered, if only wrongly
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DoCommandEcho,
    ::testing::Values(
        EchoCase{"LowerCaseLetterFirstTry", "D,1,1\r", {"d\r\n"}, true, 1, "d"},
        EchoCase{"UpperCaseLetterIsRetried", "D,1,1\r", {"D\r\n", "d,ok\r\n"}, true, 2, "d,ok"},
        EchoCase{"OnlyTheFirstByteCounts", "N\r", {"nonsense\r\n"}, true, 1, "nonsense"},
        EchoCase{"LowerCaseCommandExpectsItself", "b\r", {"b,5,0\r\n"}, true, 1, "b,5,0"},
        EchoCase{"WrongLetterThreeTimes", "E\r", {"z\r\n"}, false, 3, "z"},
        EchoCase{"EmptyLineIsNoEcho", "E\r", {"\r\n", "\r\n", "e,1,2\r\n"}, true, 3, "e,1,2"}),
    [](const ::testing::TestParamInfo<EchoCase>& info) { return std::string(info.param.name); });

TEST(DoCommand, MismatchIsLoggedWithBothLetters)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    robot.Answer(Script({"D\r\n", "d\r\n"}));
    LogRecorder log;
    char buffer[KKhepera::LineBufferSize] = "D,3,4\r";
    EXPECT_TRUE(link.DoCommand(buffer, buffer)); // one buffer for both
    robot.StopAnswering();
    EXPECT_EQ(log.Count("Answer does not match what we sent. Sent: 'D'. received: 'D'\n"), 1);
    EXPECT_TRUE(log.InOrder({"KKhepera::DoCommand\n", "Command is : 'D,3,4\r'\n",
                             "DoCommand. Try 0\n", "Answer does not match", "Empty buffer\n",
                             "DoCommand. Try 1\n"}));
    // The retry sent the command again, not the reply that overwrote it.
    EXPECT_EQ(robot.Commands(), (std::vector<std::string>{"D,3,4", "D,3,4"}));
}

TEST(DoCommand, SilentRobotCostsThreeTriesAndThreeReopensThenGivesUp)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    OpenCounter opens(robot.SlavePath());
    LogRecorder log;

    char reply[KKhepera::LineBufferSize];
    std::memset(reply, 'x', sizeof reply);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.DoCommand("N\r", reply));
    EXPECT_LT(SecondsSince(start), 10.0); // three one-second tries and three reopenings

    EXPECT_EQ(opens.Opens(), 3);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.Lost()); // not a single reply line in three tries
    EXPECT_EQ(log.Count("ReadLn Failed\n"), 3);
    EXPECT_EQ(log.Count("Empty buffer\n"), 3);
    EXPECT_TRUE(log.InOrder({"DoCommand. Try 0\n", "ReadLn: ReadByte failed\n", "ReadLn Failed\n",
                             "DoCommand. Try 1\n", "ReadLn: ReadByte failed\n", "ReadLn Failed\n",
                             "DoCommand. Try 2\n", "ReadLn: ReadByte failed\n", "ReadLn Failed\n"}));
    EXPECT_NE(std::memchr(reply, '\0', sizeof reply), nullptr);
    // Each try sent the whole command once.
    EXPECT_EQ(robot.Drain(), "N\rN\rN\r");
}

TEST(DoCommand, ClosedLinkFailsEveryWriteAndStillTerminatesTheReply)
{
    KKhepera link(QStringLiteral("/nonexistent/orvik-serial"));
    LogRecorder log;
    char reply[KKhepera::LineBufferSize];
    std::memset(reply, 'x', sizeof reply);
    EXPECT_FALSE(link.DoCommand("E\r", reply));
    EXPECT_EQ(log.Count("Write failed\n"), 3);
    EXPECT_NE(std::memchr(reply, '\0', sizeof reply), nullptr);
}
} // namespace

namespace {
// A robot that has gone: the recovery's reopenings fail without a report
// (nobody asked for them), the wait shows once for the whole command, and
// the link says it is lost.
TEST(DoCommand, VanishedRobotIsLostWithoutReportsAndOneWait)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    QStringList reports;
    KKhepera link(robot.SlavePath(), [&reports](const QString& message) { reports << message; });
    std::vector<bool> busy;
    link.SetBusyIndicator([&busy](bool on) { busy.push_back(on); });
    robot.Vanish();

    LogRecorder log;
    char reply[KKhepera::LineBufferSize];
    EXPECT_FALSE(link.DoCommand("E\r", reply));
    EXPECT_TRUE(reports.isEmpty()) << reports.join(", ").toStdString();
    EXPECT_TRUE(link.Lost());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(log.Count("Reopening "), 9); // three reports logged per failed reopening
}

TEST(DoCommand, AnswerAfterALostCommandClearsLost)
{
    PtyRobot robot;
    ASSERT_TRUE(robot.Ok());
    KKhepera link(robot.SlavePath());
    char reply[KKhepera::LineBufferSize];
    EXPECT_FALSE(link.DoCommand("E\r", reply, 1)); // nobody answers
    EXPECT_TRUE(link.Lost());
    robot.Answer(AnswerLikeKhepera);
    EXPECT_TRUE(link.DoCommand("E\r", reply));
    EXPECT_FALSE(link.Lost());
}
} // namespace
