// End to end: the program's own link, commands and robot fitness against the
// simulated Khepera (orvik-khepera-sim) on a pseudo-terminal.
#include "kkhepera.h"
#include "ptyrobot.h"
#include "robotcommands.h"
#include "robotfitness.h"
#include "robotpal.h"
#include "proximitygroups.h"
#include "simulatedkhepera.h"

#include <gtest/gtest.h>

namespace {
#ifdef KHEPERA_SIM_PATH
RobotRunResult RunOneSecond(KKhepera& link, const std::array<int, 4>& outputs, RobotRunView& view)
{
    const MotorTable table = DefaultMotorTable;
    const RobotFitnessContext context{link, view, table, DefaultProximityThreshold};
    const PalConfig config = RobotPalConfig();
    return ComputeFitnessKhepera(context, config, ConstantOutputsChromosome(config, outputs),
                                 QStringLiteral("1"));
}

struct PalCase {
    const char* name;
    std::array<int, 4> outputs; // pairs select -5, 0, 5, 10 for left and right
};

TEST(KheperaSimEndToEnd, FullSpeedAheadScoresWellAboveSpinningOrStandingStill)
{
    std::vector<std::pair<std::string, double>> scores;
    for (const PalCase& c : {PalCase{"ahead", {1, 1, 1, 1}}, PalCase{"spin", {1, 1, 0, 0}},
                             PalCase{"still", {0, 1, 0, 1}}}) {
        SimulatedKhepera sim({QStringLiteral("--open")});
        ASSERT_FALSE(sim.DevicePath().isEmpty());
        KKhepera link(sim.DevicePath());
        ASSERT_TRUE(link.IsOpen()) << link.LastOpenError().toStdString();
        RecordingRunView view;
        const RobotRunResult result = RunOneSecond(link, c.outputs, view);
        EXPECT_EQ(result.end, RobotRunEnd::Completed) << c.name;
        scores.emplace_back(c.name, result.fitness);
    }
    const double ahead = scores[0].second;
    const double spin = scores[1].second;
    const double still = scores[2].second;
    const std::string seen = "ahead " + std::to_string(ahead) + ", spin " + std::to_string(spin) +
                             ", still " + std::to_string(still);
    RecordProperty("scores", seen);
    // The first step scores the robot at rest; the others score about 1.
    EXPECT_GT(ahead, 0.6) << seen;
    EXPECT_LT(spin, 0.1);
    EXPECT_LT(still, 0.1);
    EXPECT_GT(ahead - std::max(spin, still), 0.5);
}

TEST(KheperaSimEndToEnd, SpeedsGoOutUnlimitedAndComeBack)
{
    SimulatedKhepera sim({QStringLiteral("--open")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    KKhepera link(sim.DevicePath());
    CommandSetSpeed(link, 30, -30);
    int left = 0, right = 0;
    ASSERT_TRUE(CommandReadSpeed(link, left, right));
    EXPECT_EQ(left, 30);
    EXPECT_EQ(right, -30);
    CommandSetSpeed(link, 0, 0);
}

TEST(KheperaSimEndToEnd, RawCommandsAndRecoveryFromAnUnknownCommand)
{
    SimulatedKhepera sim({QStringLiteral("--open")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    KKhepera link(sim.DevicePath());
    LogRecorder log;
    EXPECT_TRUE(SendRawCommand(link, QStringLiteral("B")));
    EXPECT_EQ(log.Count("Received(1): 'b,"), 1) << log.text;

    // Refused three times, with the port closed and reopened after each try:
    // the simulator rides out the hang-ups and still answers afterwards.
    EXPECT_FALSE(SendRawCommand(link, QStringLiteral("X")));
    EXPECT_EQ(log.Count("Answer does not match what we sent. Sent: 'X'"), 3);
    int left = 7, right = 7;
    EXPECT_TRUE(CommandReadSpeed(link, left, right));
}

TEST(KheperaSimEndToEnd, WallAheadRaisesTheFrontDirectionAboveTheThreshold)
{
    // 4 m arena: the wall is at x = 2000 mm; the front sensors sit 25 mm
    // ahead of the centre, so about 15 mm from the wall.
    SimulatedKhepera sim({QStringLiteral("--open"), QStringLiteral("--start"),
                          QStringLiteral("1960,0,0")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    KKhepera link(sim.DevicePath());
    uint32_t readings[8];
    ASSERT_TRUE(CommandProximity(link, readings));
    const Directions d = GroupProximity(readings);
    EXPECT_GT(d[1], DefaultProximityThreshold);
    EXPECT_LE(d[3], DefaultProximityThreshold);

    // Full speed into the wall scores far below full speed in the open.
    RecordingRunView view;
    EXPECT_LT(RunOneSecond(link, {1, 1, 1, 1}, view).fitness, 0.5);
}

// The robot pulled away: the run ends at the first command that finds it
// gone, and says so.
TEST(KheperaSimEndToEnd, KilledSimulatorEndsTheRunAtOnceAsLost)
{
    SimulatedKhepera sim({QStringLiteral("--open")});
    ASSERT_FALSE(sim.DevicePath().isEmpty());
    KKhepera link(sim.DevicePath());
    ActingRunView view;
    view.act = [&sim](int round) {
        if (round == 4)
            sim.Kill();
    };
    LogRecorder log;
    const RobotRunResult result = RunOneSecond(link, {1, 1, 1, 1}, view);
    EXPECT_EQ(result.end, RobotRunEnd::LinkLost);
    EXPECT_EQ(view.eventRounds, 4);
    EXPECT_EQ(log.Count("tf: "), 4); // no step after the kill was scored
    EXPECT_TRUE(link.Lost());
    EXPECT_FALSE(link.IsOpen());
}
#else
TEST(KheperaSimEndToEnd, NeedsTheSimulator)
{
    GTEST_SKIP() << "orvik-khepera-sim is not part of this build";
}
#endif
} // namespace
