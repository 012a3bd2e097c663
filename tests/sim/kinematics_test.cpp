// Differential drive in the robot's speed units (8 mm/s per unit).
#include "arena_presets.h"
#include "kinematics.h"
#include "robot_world.h"
#include "start_pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

ksim::Pose runFor(ksim::RobotWorld &world, double seconds)
{
    const int steps = static_cast<int>(std::lround(seconds / ksim::kPhysicsStepSeconds));
    for (int i = 0; i < steps; ++i)
        world.step();
    return world.pose();
}

TEST(KheperaSimKinematics, BothWheelsAtTenForOneSecondMoveEightyMillimetresForward)
{
    ksim::RobotWorld world(ksim::makeOpenArena(), ksim::Pose{});
    world.setWheelSpeeds({10, 10});
    const ksim::Pose end = runFor(world, 1.0);
    EXPECT_NEAR(end.x, 80.0, 1e-6);
    EXPECT_NEAR(end.y, 0.0, 1e-6);
    EXPECT_NEAR(end.heading, 0.0, 1e-9);
}

TEST(KheperaSimKinematics, ForwardFollowsTheHeadingAndNegativeSpeedsReverse)
{
    const ksim::Pose facingUp{0.0, 0.0, kPi / 2};
    const ksim::Pose up = ksim::advancePose(facingUp, {5, 5}, 2.0);
    EXPECT_NEAR(up.x, 0.0, 1e-9);
    EXPECT_NEAR(up.y, 80.0, 1e-9);
    const ksim::Pose back = ksim::advancePose(ksim::Pose{}, {-5, -5}, 1.0);
    EXPECT_NEAR(back.x, -40.0, 1e-9);
}

TEST(KheperaSimKinematics, OppositeSpeedsSpinInPlace)
{
    ksim::RobotWorld world(ksim::makeOpenArena(), ksim::Pose{100.0, -50.0, 0.0});
    world.setWheelSpeeds({-10, 10}); // right wheel forward: turns left (counter-clockwise)
    const ksim::Pose end = runFor(world, 0.5);
    EXPECT_NEAR(end.x, 100.0, 1e-6);
    EXPECT_NEAR(end.y, -50.0, 1e-6);
    // 80 mm/s each way on a 53 mm wheel base: 160/53 rad/s.
    EXPECT_NEAR(end.heading, 0.5 * 160.0 / 53.0, 1e-6);
}

TEST(KheperaSimKinematics, FasterRightWheelTurnsLeftOnAnArcIndependentOfStepSize)
{
    const ksim::Pose once = ksim::advancePose(ksim::Pose{}, {5, 10}, 1.0);
    ksim::Pose stepped;
    for (int i = 0; i < 100; ++i)
        stepped = ksim::advancePose(stepped, {5, 10}, 0.01);
    EXPECT_GT(once.y, 0.0);
    EXPECT_GT(once.heading, 0.0);
    EXPECT_NEAR(stepped.x, once.x, 1e-6);
    EXPECT_NEAR(stepped.y, once.y, 1e-6);
    EXPECT_NEAR(stepped.heading, once.heading, 1e-9);
}

TEST(KheperaSimKinematics, HeadingStaysWithinOneTurn)
{
    ksim::Pose pose;
    for (int i = 0; i < 1000; ++i) {
        pose = ksim::advancePose(pose, {-20, 20}, 0.05);
        ASSERT_GT(pose.heading, -kPi - 1e-12);
        ASSERT_LE(pose.heading, kPi + 1e-12);
    }
}

TEST(KheperaSimKinematics, RobotFrameToArena)
{
    const ksim::Pose pose{10.0, 20.0, kPi / 2};
    const ksim::Vec2 p = ksim::robotToArena(pose, {25.0, 6.0}); // forward 25, left 6
    EXPECT_NEAR(p.x, 10.0 - 6.0, 1e-9);
    EXPECT_NEAR(p.y, 20.0 + 25.0, 1e-9);
}

TEST(KheperaSimStartPose, ParsesMillimetresAndDegrees)
{
    const auto pose = ksim::parseStartPose("100,-50.5,90");
    ASSERT_TRUE(pose);
    EXPECT_DOUBLE_EQ(pose->x, 100.0);
    EXPECT_DOUBLE_EQ(pose->y, -50.5);
    EXPECT_NEAR(pose->heading, kPi / 2, 1e-12);
    EXPECT_NEAR(ksim::parseStartPose("0,0,270")->heading, -kPi / 2, 1e-12);
    for (const char *bad : {"", "1,2", "1,2,3,4", "1;2;3", "a,b,c", "1,2,3x", "1,,3"})
        EXPECT_FALSE(ksim::parseStartPose(bad)) << bad;
}

} // namespace
