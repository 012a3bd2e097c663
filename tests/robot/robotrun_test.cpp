// Robot runs and repositioning against a scripted robot on a pseudo-terminal.
#include "kkhepera.h"
#include "processrandom.h"
#include "proximitygroups.h"
#include "ptyrobot.h"
#include "repositionkhepera.h"
#include "robotfitness.h"
#include "robotpal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {
using Readings = std::array<uint32_t, 8>;

struct RunBench {
    PtyRobot robot;
    KKhepera link{robot.SlavePath()};
    RecordingRunView view;
    MotorTable table = DefaultMotorTable;
    RobotFitnessContext context{link, view, table, DefaultProximityThreshold};
};

TEST(RobotRunIncrement, ScoresTheReportedSpeedsAndShowsThem)
{
    struct Case {
        std::string reply;
        Readings readings;
        double expected;
        QString caption;
    };
    for (const Case& c : {Case{"e,10,10\r\n", {}, 1.0, "Current speed: 10; 10"},
                          Case{"e,-5,-5\r\n", {}, 0.5, "Current speed: -5; -5"},
                          Case{"e,10,-5\r\n", {}, 0.0, "Current speed: 10; -5"},
                          Case{"e,10,10\r\n", {0, 0, 1023, 0, 0, 0, 0, 0}, 0.0, "Current speed: 10; 10"}}) {
        RunBench b;
        b.robot.Send(c.reply);
        EXPECT_NEAR(ComputeFitnessKheperaInc(b.context, c.readings.data()), c.expected, 1e-12);
        EXPECT_EQ(b.view.speedTexts, QStringList{c.caption});
    }
}

TEST(RobotRunIncrement, UnreadableSpeedsScoreZero)
{
    RunBench b;
    b.robot.Send("e,10\r\n");
    LogRecorder log;
    const Readings readings{};
    EXPECT_EQ(ComputeFitnessKheperaInc(b.context, readings.data()), 0.0);
    EXPECT_EQ(log.Count("ComputeFitnessKheperaInc failed due to CommandReadSpeed. Returning 0\n"), 1);
    EXPECT_TRUE(b.view.speedTexts.isEmpty());
}

TEST(RobotRun, PalOutputsDriveTheWheelsAndTheRunEndsStopped)
{
    RunBench b;
    // Direction 1 (front) is exactly at the threshold: input 0, indicator white.
    b.robot.Answer(ObedientRobot({0, 0, 300, 0, 0, 0, 0, 0}));
    LogRecorder log;
    const PalConfig config = RobotPalConfig();
    const auto start = std::chrono::steady_clock::now();
    const RobotRunResult result = ComputeFitnessKhepera(b.context, config,
                                                        ConstantOutputsChromosome(config, {1, 1, 0, 1}),
                                                        QStringLiteral("0")); // 0 means 1 s
    EXPECT_LT(SecondsSince(start), 30.0);
    b.robot.StopAnswering();
    EXPECT_EQ(result.end, RobotRunEnd::Completed);
    const double fitness = result.fitness;

    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_GE(commands.size(), 4u);
    // Each step: read sensors, read speeds, set speeds; then the final stop.
    EXPECT_EQ(commands[0], "N");
    EXPECT_EQ(commands[1], "E");
    EXPECT_EQ(commands[2], "D,10,0");
    EXPECT_EQ(commands.back(), "D,0,0");
    const int steps = static_cast<int>((commands.size() - 1) / 3);
    EXPECT_EQ(commands.size(), static_cast<std::size_t>(3 * steps + 1));
    EXPECT_GE(steps, 1);
    EXPECT_LE(steps, 11); // steps start at least 0.1 s apart

    // The first step scores the robot at rest (0), the others 10/0 with the
    // front at 300: vl = 1, vr = 1/3, so 0.5 * (1 - sqrt(2/3)) * (1 - 300/1023).
    const double moving = 0.5 * (1.0 - std::sqrt(2.0 / 3.0)) * (1.0 - 300.0 / 1023.0);
    EXPECT_NEAR(fitness, moving * (steps - 1) / steps, 1e-9);

    EXPECT_EQ(b.view.eventRounds, steps);
    ASSERT_EQ(static_cast<int>(b.view.indicators.size()), steps);
    EXPECT_EQ(b.view.indicators[0], (std::array<bool, 4>{false, true, false, false}));
    ASSERT_EQ(b.view.fitnessTexts.size(), steps);
    EXPECT_EQ(b.view.fitnessTexts[0], "Current fitness: 0.000");
    EXPECT_EQ(b.view.fitnessTexts.back(), QString::asprintf("Current fitness: %0.3lf", fitness));
    EXPECT_EQ(log.Count("\nInput: 0(0) 300(0) 0(0) 0(0) \nOutput 1 1 0 1 \n"), steps);
    EXPECT_EQ(log.Count("Sum of fitness: "), 1);
}

// A robot that has gone ends the run at the command that finds it out,
// without a failed step being scored; the result says the link was lost.
TEST(RobotRun, VanishingRobotEndsTheRunAsLost)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    const PalConfig config = RobotPalConfig();
    std::thread unplug([&b] {
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
        b.robot.Vanish();
    });
    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    const RobotRunResult result = ComputeFitnessKhepera(b.context, config,
                                                        ConstantOutputsChromosome(config, {1, 1, 1, 1}),
                                                        QStringLiteral("10"));
    const double seconds = SecondsSince(start);
    unplug.join();
    EXPECT_LT(seconds, 5.0); // not the ten seconds asked for

    EXPECT_EQ(result.end, RobotRunEnd::LinkLost);
    EXPECT_EQ(log.Count("ComputeFitnessKheperaInc failed due to CommandReadSpeed"), 0);
    const int steps = log.Count("tf: ");
    ASSERT_GE(steps, 1);
    // Every scored step was a good one: at rest first, then full speed.
    EXPECT_NEAR(result.fitness, double(steps - 1) / steps, 1e-9);
    EXPECT_TRUE(b.link.Lost());
    EXPECT_FALSE(b.link.IsOpen());
}

// A robot that answers, even wrongly, has not gone: its failed steps score
// 0 and the run goes on to its end.
TEST(RobotRun, WrongAnswersAreAbsorbedAndTheRunCompletes)
{
    RunBench b;
    b.robot.Answer([](const std::string& line) -> std::string {
        return line == "E" ? "z\r\n" : AnswerLikeKhepera(line);
    });
    const PalConfig config = RobotPalConfig();
    const RobotRunResult result = ComputeFitnessKhepera(b.context, config,
                                                        ConstantOutputsChromosome(config, {1, 1, 1, 1}),
                                                        QStringLiteral("1"));
    b.robot.StopAnswering();
    EXPECT_EQ(result.end, RobotRunEnd::Completed);
    EXPECT_EQ(result.fitness, 0.0);
    EXPECT_FALSE(b.link.Lost());
    EXPECT_EQ(b.robot.Commands().back(), "D,0,0");
}

TEST(RobotRun, AStopRequestEndsTheRunAfterTheStepUnderWay)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    ActingRunView view;
    view.stopAtRound = 2;
    const RobotFitnessContext context{b.link, view, b.table, DefaultProximityThreshold};
    const PalConfig config = RobotPalConfig();
    const RobotRunResult result = ComputeFitnessKhepera(
        context, config, ConstantOutputsChromosome(config, {1, 1, 1, 1}), QStringLiteral("100"));
    b.robot.StopAnswering();
    EXPECT_EQ(result.end, RobotRunEnd::Stopped);
    EXPECT_EQ(view.eventRounds, 2);
    EXPECT_NEAR(result.fitness, 0.5, 1e-9); // at rest, then full speed
    EXPECT_EQ(b.robot.Commands(), (std::vector<std::string>{"N", "E", "D,10,10", "N", "E", "D,10,10", "D,0,0"}));
}

TEST(RobotRun, RepositioningEndsAtOnceWhenTheRobotHasGone)
{
    RunBench b;
    b.robot.Vanish();
    LogRecorder log;
    EXPECT_FALSE(RepositionKhepera(b.link));
    EXPECT_EQ(log.Count("Command is : 'D,10,-10"), 0); // no spin after the first failed command
    EXPECT_EQ(log.Count("Command is : 'D,0,0"), 1);     // but the stop is still sent
}

TEST(RobotRun, RepositioningWalksSpinsReversesAndStops)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({0, 0, 800, 0, 0, 0, 0, 0}));
    ProcessRandom::RestartForTests();
    ProcessRandom::Draw();
    ProcessRandom::Draw();
    const int third = ProcessRandom::Draw();
    ProcessRandom::RestartForTests();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(RepositionKhepera(b.link));
    EXPECT_LT(SecondsSince(start), 30.0);
    b.robot.StopAnswering();
    EXPECT_EQ(ProcessRandom::Draw(), third); // exactly two draws were taken

    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_GE(commands.size(), 5u);
    const std::size_t walk = commands.size() - 3;
    EXPECT_EQ(walk % 2, 0u);
    for (std::size_t k = 0; k < walk; k += 2) {
        EXPECT_EQ(commands[k], "N");
        EXPECT_EQ(commands[k + 1], "D,16,-8");
    }
    EXPECT_EQ(commands[walk], "D,10,-10");
    EXPECT_EQ(commands[walk + 1], "D,-3,-3");
    EXPECT_EQ(commands[walk + 2], "D,0,0");
}
} // namespace

namespace {
// Throws once, from the log line that contains `trigger`: a way to make an
// exception leave the robot code at a chosen point.
class ThrowingLog : public LogRecorder {
public:
    explicit ThrowingLog(std::string trigger) : trigger_(std::move(trigger)) {}
    void Write(const char* data, std::size_t length) override
    {
        LogRecorder::Write(data, length);
        if (!thrown_ && text.find(trigger_) != std::string::npos) {
            thrown_ = true;
            throw std::runtime_error("log failed");
        }
    }

private:
    std::string trigger_;
    bool thrown_ = false;
};

TEST(RobotRunSafety, ShortChromosomeIsRefusedBeforeTheRobotMoves)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    const PalConfig config = RobotPalConfig();
    // All fuses clear: every output's first term is true, so the simulation
    // alone would never reach the missing last fuse.
    const BitString shortChromosome(static_cast<uint32_t>(config.ChromosomeSize() - 1));
    EXPECT_THROW(ComputeFitnessKhepera(b.context, config, shortChromosome, QStringLiteral("1")), EBitString);
    b.robot.StopAnswering();
    EXPECT_TRUE(b.robot.Commands().empty());
}

TEST(RobotRunSafety, AnExceptionLeavingTheRunStopsTheWheels)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    ActingRunView view;
    view.act = [](int round) {
        if (round == 2)
            throw std::runtime_error("view failed");
    };
    const RobotFitnessContext context{b.link, view, b.table, DefaultProximityThreshold};
    const PalConfig config = RobotPalConfig();
    EXPECT_THROW(ComputeFitnessKhepera(context, config, ConstantOutputsChromosome(config, {1, 1, 0, 1}),
                                       QStringLiteral("5")),
                 std::runtime_error);
    b.robot.StopAnswering();
    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "D,0,0");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "D,10,0"), 2);
}

TEST(RobotRunSafety, AnExceptionLeavingTheRepositioningStopsTheWheels)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    {
        ThrowingLog log("Command is : 'D,10,-10");
        EXPECT_THROW(RepositionKhepera(b.link), std::runtime_error);
    }
    b.robot.StopAnswering();
    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[1], "D,10,10"); // the walk had the wheels turning
    EXPECT_EQ(commands.back(), "D,0,0");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "D,10,-10"), 0);
}

TEST(RobotRunSafety, RepositioningSurvivesReadingsFarAboveTheSensorRange)
{
    RunBench b;
    // 200000000 x -18 does not fit 32 bits; read as 1023 it gives
    // 1023 * 6 / 800 + 10 = 17 and 1023 * -18 / 800 + 10 = -13.
    b.robot.Answer(ObedientRobot({0, 0, 200000000, 0, 0, 0, 0, 0}));
    RepositionKhepera(b.link);
    b.robot.StopAnswering();
    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(commands[1], "D,17,-13");
}

// What the window changes while a run processes its events (the PAL size, the
// shown chromosome, the motor table) cannot reach the run under way.
TEST(RobotRunSafety, TheRunWorksOnItsOwnCopies)
{
    RunBench b;
    b.robot.Answer(ObedientRobot({}));
    PalConfig config = RobotPalConfig();
    BitString chromosome = ConstantOutputsChromosome(config, {1, 1, 0, 1});
    ActingRunView view;
    view.act = [&](int round) {
        if (round != 1)
            return;
        config = PalConfig{10, 2, 10};
        chromosome = BitString(static_cast<uint32_t>(config.ChromosomeSize()));
        b.table = MotorTable{1, 2, 3, 4};
    };
    const RobotFitnessContext context{b.link, view, b.table, DefaultProximityThreshold};
    EXPECT_EQ(ComputeFitnessKhepera(context, config, chromosome, QStringLiteral("1")).end,
              RobotRunEnd::Completed);
    b.robot.StopAnswering();
    const std::vector<std::string> commands = b.robot.Commands();
    ASSERT_GE(commands.size(), 7u);
    for (std::size_t k = 2; k + 1 < commands.size(); k += 3)
        EXPECT_EQ(commands[k], "D,10,0") << "step " << k / 3;
    EXPECT_EQ(commands.back(), "D,0,0");
}
} // namespace
