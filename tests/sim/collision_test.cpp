// The body stops against surfaces, slides along them and never passes through.
#include "arena_presets.h"
#include "collision.h"
#include "robot_world.h"
#include "start_places.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTolerance = 1e-6;

struct DriveCase {
    const char *name;
    ksim::Pose start;
    ksim::WheelSpeeds speeds;
};

void PrintTo(const DriveCase &c, std::ostream *os)
{
    *os << c.name;
}

class DriveIntoObstacles : public testing::TestWithParam<DriveCase> {};

// Whatever the approach and however fast, the centre stays inside the walls,
// out of every obstacle, and the body overlaps nothing by more than a sub-step.
TEST_P(DriveIntoObstacles, BodyNeverPassesThroughOrSinksIn)
{
    const DriveCase &c = GetParam();
    ksim::RobotWorld world(ksim::makeDefaultArena(), c.start);
    world.setWheelSpeeds(c.speeds);
    for (int i = 0; i < 1500; ++i) {
        world.step();
        const ksim::Vec2 p = world.pose().position();
        ASSERT_TRUE(world.arena().isFree(p)) << "step " << i << " at " << p.x << "," << p.y;
        ASSERT_GE(ksim::clearance(world.arena(), p), ksim::kBodyRadiusMm - 1.0)
            << "step " << i << " at " << p.x << "," << p.y;
    }
}

INSTANTIATE_TEST_SUITE_P(KheperaSim, DriveIntoObstacles, testing::Values(
    DriveCase{"HeadOnEastWall", {0, 0, 0}, {10, 10}},
    DriveCase{"HeadOnWestWallFast", {0, 0, kPi}, {127, 127}},
    DriveCase{"ReversingIntoWall", {0, 0, 0}, {-127, -127}},
    DriveCase{"SlantIntoCorner", {0, 0, kPi / 4}, {60, 60}},
    DriveCase{"IntoCylinder", {-250, 150, kPi / 2}, {40, 40}},
    DriveCase{"IntoBoxSide", {250, 50, kPi / 2}, {90, 90}},
    DriveCase{"IntoBoxCorner", {100, 100, 0.5}, {127, 127}},
    DriveCase{"CirclingAlongWalls", {300, 0, 0}, {30, 25}}),
    [](const testing::TestParamInfo<DriveCase> &info) { return std::string(info.param.name); });

TEST(KheperaSimCollision, HeadOnTheBodyStopsTouchingTheWall)
{
    ksim::RobotWorld world(ksim::makeDefaultArena(), ksim::Pose{400.0, 0.0, 0.0});
    world.setWheelSpeeds({20, 20});
    for (int i = 0; i < 200; ++i)
        world.step();
    EXPECT_NEAR(world.pose().x, 500.0 - ksim::kBodyRadiusMm, kTolerance);
    EXPECT_NEAR(world.pose().y, 0.0, kTolerance);
}

TEST(KheperaSimCollision, AtASlantTheBodySlidesAlongTheWall)
{
    // 30 degrees off the wall's normal: the along-wall part of the motion survives.
    ksim::RobotWorld world(ksim::makeOpenArena(), ksim::Pose{1900.0, 0.0, kPi / 6});
    world.setWheelSpeeds({20, 20});
    for (int i = 0; i < 100; ++i)
        world.step();
    const double yAtWall = world.pose().y;
    for (int i = 0; i < 100; ++i)
        world.step();
    EXPECT_NEAR(world.pose().x, 2000.0 - ksim::kBodyRadiusMm, kTolerance);
    EXPECT_GT(world.pose().y - yAtWall, 50.0); // 160 mm/s * 1 s * sin 30 deg = 80 mm
}

TEST(KheperaSimCollision, PushOutResolvesACornerOverlap)
{
    const ksim::Arena arena = ksim::makeDefaultArena();
    const ksim::Vec2 out = ksim::pushOutOfObstacles(arena, {490.0, 490.0}, ksim::kBodyRadiusMm);
    EXPECT_NEAR(out.x, 500.0 - ksim::kBodyRadiusMm, kTolerance);
    EXPECT_NEAR(out.y, 500.0 - ksim::kBodyRadiusMm, kTolerance);
}

TEST(KheperaSimCollision, FreeMotionIsNotDisturbed)
{
    const ksim::Arena arena = ksim::makeOpenArena();
    const ksim::Pose start{0.0, 0.0, 0.3};
    const ksim::Pose free = ksim::advancePose(start, {12, 7}, 0.5);
    const ksim::Pose checked = ksim::driveWithCollisions(arena, start, {12, 7}, 0.5);
    EXPECT_NEAR(checked.x, free.x, 1e-9);
    EXPECT_NEAR(checked.y, free.y, 1e-9);
    EXPECT_NEAR(checked.heading, free.heading, 1e-9);
}

} // namespace
