// Robot runs and repositioning against a scripted robot on a pseudo-terminal.
#include "kkhepera.h"
#include "processrandom.h"
#include "proximitygroups.h"
#include "ptyrobot.h"
#include "repositionkhepera.h"
#include "robotfitness.h"
#include "robotpal.h"

#include <gtest/gtest.h>

#include <cmath>

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
    const double fitness = ComputeFitnessKhepera(b.context, config,
                                                 ConstantOutputsChromosome(config, {1, 1, 0, 1}),
                                                 QStringLiteral("0")); // 0 means 1 s
    EXPECT_LT(SecondsSince(start), 30.0);
    b.robot.StopAnswering();

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

TEST(RobotRun, VanishingRobotEndsTheRunWithAValue)
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
    const double fitness = ComputeFitnessKhepera(b.context, config,
                                                 ConstantOutputsChromosome(config, {1, 1, 1, 1}),
                                                 QStringLiteral("1"));
    const double seconds = SecondsSince(start);
    unplug.join();
    EXPECT_LT(seconds, 90.0);

    // Good steps score 1 after the first, failed steps add 0: the mean lies
    // strictly between 0 and 1 and matches the steps counted in the log.
    const int steps = log.Count("tf: ");
    const int failed = log.Count("ComputeFitnessKheperaInc failed due to CommandReadSpeed");
    ASSERT_GE(failed, 1);
    EXPECT_GT(fitness, 0.0);
    EXPECT_LT(fitness, 1.0);
    EXPECT_NEAR(fitness, double(steps - failed - 1) / steps, 1e-9);
    EXPECT_FALSE(b.link.IsOpen());
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
    RepositionKhepera(b.link);
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
