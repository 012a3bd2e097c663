// The robot run and the repositioning walk over the two bodies: the
// simulated Khepera in virtual time, and the serial one on a pseudo-terminal.
#include "arena_presets.h"
#include "kkhepera.h"
#include "lcggenerator.h"
#include "processrandom.h"
#include "proximitygroups.h"
#include "ptyrobot.h"
#include "repositionkhepera.h"
#include "robotfitness.h"
#include "robotpal.h"
#include "serialrobotbody.h"
#include "simulatedrobotbody.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {
using namespace std::chrono_literals;

struct SimBench {
    explicit SimBench(ksim::Arena arena = ksim::makeOpenArena(), ksim::Pose start = {})
        : world(std::move(arena), start)
    {
    }
    ksim::RobotWorld world;
    SimulatedRobotBody body{world};
    RecordingRunView view;
    RobotRunContext context{body, view, DefaultMotorTable, DefaultProximityThreshold};
};

// The increments the run logged ("tf: %lf"), in order.
std::vector<double> LoggedIncrements(const LogRecorder& log)
{
    std::vector<double> values;
    for (std::size_t at = log.text.find("tf: "); at != std::string::npos; at = log.text.find("tf: ", at + 1)) {
        double v = 0.0;
        if (std::sscanf(log.text.c_str() + at, "tf: %lf", &v) == 1)
            values.push_back(v);
    }
    return values;
}

TEST(SimulatedRobotRun, VirtualTimeRunsTenStepsASecondAndScoresTheMeanIncrement)
{
    struct Case {
        const char* name;
        bool defaultArena;
        ksim::Pose start;
        std::array<int, 4> outputs;
        int seconds;
        double expected; // < 0: only the mean of the logged increments is known
    };
    const Case cases[] = {
        // At rest first (0), then straight at 10, 10 in the open (1).
        {"ahead in the open", false, {}, {1, 1, 1, 1}, 1, 0.9},
        // Left 10, right -5: the turning term is 1.
        {"spin", false, {}, {1, 1, 0, 0}, 2, 0.0},
        // Towards the wall 200 mm ahead, then pressed against it.
        {"into the wall", true, {300, 0, 0}, {1, 1, 1, 1}, 4, -1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimBench b(c.defaultArena ? ksim::makeDefaultArena() : ksim::makeOpenArena(), c.start);
        LogRecorder log;
        const PalConfig config = RobotPalConfig();
        const RobotRunResult result =
            ComputeFitnessKhepera(b.context, config, ConstantOutputsChromosome(config, c.outputs), c.seconds);
        EXPECT_EQ(result.end, RobotRunEnd::Completed);
        EXPECT_EQ(b.view.eventRounds, 10 * c.seconds);
        EXPECT_EQ(b.body.PhysicsSteps(), 100 * c.seconds);
        EXPECT_EQ(b.body.Now(), RobotBody::Time(std::chrono::seconds(c.seconds)));

        const std::vector<double> increments = LoggedIncrements(log);
        ASSERT_EQ(increments.size(), static_cast<std::size_t>(10 * c.seconds));
        double sum = 0.0;
        for (double f : increments)
            sum += f;
        EXPECT_NEAR(result.fitness, sum / increments.size(), 1e-6); // the log keeps 6 decimals
        if (c.expected >= 0) {
            EXPECT_NEAR(result.fitness, c.expected, 1e-9);
        }
        EXPECT_EQ(b.world.wheelSpeeds().left, 0); // stopped at the end
        EXPECT_EQ(b.world.wheelSpeeds().right, 0);
    }
    // The first step sets the speeds at time 0: a whole second at 80 mm/s.
    SimBench open;
    const PalConfig config = RobotPalConfig();
    ComputeFitnessKhepera(open.context, config, ConstantOutputsChromosome(config, {1, 1, 1, 1}), 1);
    EXPECT_NEAR(open.world.pose().x, 80.0, 1e-9);
}

// The walk draws its two durations from the generator it is given (the
// serial one from ProcessRandom, as the GA does) and, in virtual time, lasts
// exactly as long as they say.
TEST(SimulatedRobotRun, RepositioningDrawsTwiceFromItsGeneratorAndLastsWhatTheyDraw)
{
    for (uint32_t seed : {1u, 2u, 77u, 4000u}) {
        SCOPED_TRACE(seed);
        SimBench b(ksim::makeDefaultArena());
        LcgGenerator random(seed);
        LcgGenerator expected = random;
        const int walk = expected.Draw() % 2000;
        const int spin = expected.Draw() % 2000;
        EXPECT_TRUE(RepositionKhepera(b.body, random));
        EXPECT_EQ(random, expected);
        // Walk steps of 100 ms while the walk time is not exceeded, the spin
        // rounded up to whole 10 ms steps, 200 ms of reverse.
        EXPECT_EQ(b.body.PhysicsSteps(), (walk / 100 + 1) * 10 + (spin + 9) / 10 + 20);
        EXPECT_EQ(b.world.wheelSpeeds().left, 0);
        EXPECT_TRUE(b.world.arena().isFree(b.world.pose().position()));
    }

    // The serial walk takes the same two draws, from ProcessRandom.
    PtyRobot robot;
    robot.Answer(ObedientRobot({}));
    KKhepera link(robot.SlavePath());
    ProcessRandom::RestartForTests();
    LcgGenerator copy = ProcessRandom::Generator();
    SimBench b;
    RepositionKhepera(b.body, copy);
    EXPECT_TRUE(RepositionKhepera(link));
    robot.StopAnswering();
    EXPECT_EQ(ProcessRandom::Generator(), copy);
    ProcessRandom::RestartForTests();
}

// The interface means the same on both bodies: speeds go out and come back
// unchanged, readings arrive, time passes by at least what was asked.
TEST(RobotBodies, BothBodiesAnswerTheInterfaceAlike)
{
    PtyRobot robot;
    robot.Answer(ObedientRobot({}));
    KKhepera link(robot.SlavePath());
    SerialRobotBody serial(link);
    SimBench sim;
    for (RobotBody* body : {static_cast<RobotBody*>(&serial), static_cast<RobotBody*>(&sim.body)}) {
        SCOPED_TRACE(body == &serial ? "serial" : "simulated");
        body->SetSpeeds(7, -3);
        int left = 0, right = 0;
        EXPECT_TRUE(body->ReadSpeeds(left, right));
        EXPECT_EQ(left, 7);
        EXPECT_EQ(right, -3);
        uint32_t readings[8] = {9, 9, 9, 9, 9, 9, 9, 9};
        EXPECT_TRUE(body->ReadProximity(readings)); // nothing near in the open
        for (uint32_t r : readings)
            EXPECT_EQ(r, 0u);
        const RobotBody::Time before = body->Now();
        body->WaitUntil(before + 100ms);
        EXPECT_GE(body->Now() - before, 100ms);
        body->StopWheels();
        EXPECT_TRUE(body->ReadSpeeds(left, right));
        EXPECT_EQ(left, 0);
        EXPECT_EQ(right, 0);
        EXPECT_FALSE(body->Lost());
    }
    robot.StopAnswering();
    EXPECT_EQ(sim.body.Now() - RobotBody::Time::zero(), 100ms); // virtual time: exactly
}
} // namespace
