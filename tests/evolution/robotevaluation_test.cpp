// Robot evaluation beside the window's: the re-evaluation of the fittest, the
// stall penalty, and how a traced run ends (stalled, in contact).
#include "arena_presets.h"
#include "ga.h"
#include "robot_world.h"
#include "robotevaluation.h"
#include "tracedrobotbody.h"

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

TEST(RobotEvaluation, ReevaluationGoesOnUntilTheKeptFittestAreAllReevaluated)
{
    struct Case {
        const char* name;
        std::vector<double> fitness; // the mean of 1 run each
        std::vector<double> more; // the sum of the 2 runs more of each
        uint32_t keep;
        std::vector<double> expected;
        uint32_t reevaluated;
    };
    const Case cases[] = {
        // 0 falls behind 2, which holds up: two re-evaluated.
        {"a lucky leader", {0.9, 0.5, 0.8, 0.1}, {0.3, 1.8, 1.6, 0.0}, 1, {0.4, 0.5, 0.8, 0.1}, 2},
        {"the leader holds", {0.9, 0.5, 0.8, 0.1}, {1.8, 0.0, 0.0, 0.0}, 1, {0.9, 0.5, 0.8, 0.1}, 1},
        // Two kept: 0 and 2 first, then 1 climbs into the two and is re-evaluated too.
        {"two kept", {0.9, 0.5, 0.8, 0.1}, {0.0, 2.0, 1.6, 0.0}, 2, {0.3, 0.8333333333333334, 0.8, 0.1}, 3},
        {"ties to the lower index", {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, 1, {0.5, 0.5, 0.5}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GA ga(static_cast<uint32_t>(c.fitness.size()), 8);
        for (uint32_t i = 0; i < c.fitness.size(); ++i)
            ga.At(i).SetFitness(c.fitness[i]);
        std::vector<uint32_t> asked;
        const uint32_t count = ReevaluateFittest(ga, ga.GetPopulationSize(), c.keep, 1, 2, [&](uint32_t i) {
            asked.push_back(i);
            return c.more[i];
        });
        EXPECT_EQ(count, c.reevaluated);
        EXPECT_EQ(asked.size(), c.reevaluated);
        for (uint32_t i = 0; i < c.fitness.size(); ++i)
            EXPECT_DOUBLE_EQ(ga.At(i).GetFitness(), c.expected[i]) << "individual " << i;
    }
}

TEST(RobotEvaluation, AStallEndsARunStandingHeldOrSpinningAndThePenaltyTakesItsShare)
{
    constexpr double pi = std::numbers::pi;
    struct Case {
        const char* name;
        bool open; // the open arena, else the default one
        ksim::Pose start;
        int left, right;
        int seconds;
        bool stalled, contact;
    };
    const Case cases[] = {
        {"standing", false, {0, 0, 0}, 0, 0, 3, true, false},
        {"driving in the open", true, {-1500, 0, 0}, 10, 10, 3, false, false},
        {"held against the east wall", false, {400, 0, 0}, 10, 10, 5, true, true},
        {"spinning on the spot", false, {0, 0, 0}, 10, -10, 3, true, false},
        {"too short a run to tell", false, {300, 0, 0}, 10, 10, 1, false, false},
        {"circling widely", true, {0, 0, pi / 2}, 10, 5, 5, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ksim::RobotWorld world(c.open ? ksim::makeOpenArena() : ksim::makeDefaultArena(), c.start);
        TracedRobotBody body(world);
        body.StartTrace();
        body.SetSpeeds(c.left, c.right);
        for (int step = 0; step < c.seconds * 10; ++step)
            body.WaitUntil(body.Now() + std::chrono::milliseconds(100));
        body.StopWheels(); // as every run ends: not the controller's command
        EXPECT_EQ(body.Stalled(), c.stalled);
        EXPECT_EQ(body.InContact(), c.contact);
    }
    const RobotEvaluation penalty{false, 0, 0.25};
    EXPECT_DOUBLE_EQ(CountedFitness({0.8, true, false}, penalty), 0.6);
    EXPECT_DOUBLE_EQ(CountedFitness({0.8, false, true}, penalty), 0.8);
    EXPECT_DOUBLE_EQ(CountedFitness({0.8, true, false}, RobotEvaluation{}), 0.8);
}
