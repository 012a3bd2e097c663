// Infrared response curve and the sensors' placement on the body.
#include "arena.h"
#include "arena_presets.h"
#include "proximity_sensors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>

namespace {

constexpr double kPi = std::numbers::pi;

struct CurvePoint {
    double distanceMm;
    double reading;
    double tolerance;
};

void PrintTo(const CurvePoint &c, std::ostream *os)
{
    *os << c.distanceMm << " mm";
}

class ResponseCurve : public testing::TestWithParam<CurvePoint> {};

TEST_P(ResponseCurve, MatchesTheRobotsCalibration)
{
    const CurvePoint &c = GetParam();
    EXPECT_NEAR(ksim::proximityResponse(c.distanceMm), c.reading, c.tolerance) << c.distanceMm << " mm";
}

INSTANTIATE_TEST_SUITE_P(KheperaSim, ResponseCurve, testing::Values(
    CurvePoint{10.0, 1000.0, 30.0},
    CurvePoint{20.0, 450.0, 30.0},
    CurvePoint{30.0, 275.0, 30.0},
    CurvePoint{40.0, 190.0, 20.0},
    CurvePoint{50.0, 150.0, 20.0},
    CurvePoint{100.0, 80.0, 20.0},
    CurvePoint{0.0, 1023.0, 0.0},     // touching saturates
    CurvePoint{-5.0, 1023.0, 0.0},    // clamped, never above 1023
    CurvePoint{150.0, 0.0, 0.0},
    CurvePoint{400.0, 0.0, 0.0},
    CurvePoint{1e9, 0.0, 0.0}));

TEST(KheperaSimResponseCurveShape, NeverRisesWithDistanceAndStaysInRange)
{
    double previous = ksim::proximityResponse(0.0);
    for (double d = 0.0; d <= 300.0; d += 0.25) {
        const double r = ksim::proximityResponse(d);
        ASSERT_LE(r, previous) << d;
        ASSERT_GE(r, 0.0) << d;
        ASSERT_LE(r, 1023.0) << d;
        previous = r;
    }
}

int strongest(const ksim::ProximityReadings &readings)
{
    return static_cast<int>(std::max_element(readings.begin(), readings.end()) - readings.begin());
}

struct WallCase {
    const char *name;
    double heading;      // robot heading; the wall is the arena's east wall
    int firstExpected;   // the two sensors facing the wall read the most,
    int secondExpected;  // the nearer of them above 300
};

void PrintTo(const WallCase &c, std::ostream *os)
{
    *os << c.name;
}

class WallNearby : public testing::TestWithParam<WallCase> {};

// The robot stands 20 mm from the east wall (body edge to wall), turned so
// that the wall is in front, behind, left or right of it.
TEST_P(WallNearby, SensorsFacingTheWallReadTheMost)
{
    const WallCase &c = GetParam();
    const ksim::Arena arena = ksim::makeOpenArena();
    const ksim::Pose pose{2000.0 - ksim::kBodyRadiusMm - 20.0, 0.0, c.heading};
    const ksim::ProximityReadings r = ksim::readProximity(arena, pose);

    const int a = c.firstExpected;
    const int b = c.secondExpected;
    EXPECT_GT(std::max(r[a], r[b]), 300);
    for (int s = 0; s < ksim::kSensorCount; ++s) {
        if (s != a && s != b) {
            EXPECT_LT(r[s], std::min(r[a], r[b])) << "sensor " << s;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KheperaSim, WallNearby, testing::Values(
    WallCase{"InFront", 0.0, 2, 3},
    WallCase{"Behind", kPi, 6, 7},
    WallCase{"OnTheLeft", -kPi / 2, 0, 1},
    WallCase{"OnTheRight", kPi / 2, 4, 5}),
    [](const testing::TestParamInfo<WallCase> &info) { return std::string(info.param.name); });

TEST(KheperaSimProximitySensors, WallOnTheLeftRaisesSensorZeroMostAndDiagonalRaisesOne)
{
    const ksim::Arena arena = ksim::makeOpenArena();
    const double gap = 2000.0 - ksim::kBodyRadiusMm - 10.0;
    EXPECT_EQ(strongest(ksim::readProximity(arena, {gap, 0.0, -kPi / 2})), 0);
    EXPECT_EQ(strongest(ksim::readProximity(arena, {gap - 10.0, 0.0, -kPi / 4})), 1);
    EXPECT_EQ(strongest(ksim::readProximity(arena, {gap - 10.0, 0.0, kPi / 4})), 4);
}

TEST(KheperaSimProximitySensors, NothingInRangeReadsZero)
{
    const ksim::ProximityReadings r = ksim::readProximity(ksim::makeOpenArena(), ksim::Pose{});
    for (int value : r)
        EXPECT_EQ(value, 0);
}

TEST(KheperaSimProximitySensors, TouchingAWallSaturatesTheFrontSensors)
{
    const ksim::Arena arena = ksim::makeOpenArena();
    const ksim::ProximityReadings r =
        ksim::readProximity(arena, {2000.0 - ksim::kBodyRadiusMm, 0.0, 0.0});
    EXPECT_EQ(r[2], 1023);
    EXPECT_EQ(r[3], 1023);
}

TEST(KheperaSimProximitySensors, ReadingRisesAsTheRobotApproaches)
{
    const ksim::Arena arena = ksim::makeOpenArena();
    int previous = -1;
    for (double x = 1800.0; x <= 2000.0 - ksim::kBodyRadiusMm; x += 5.0) {
        const int front = ksim::readProximity(arena, {x, 0.0, 0.0})[2];
        EXPECT_GE(front, previous) << x;
        previous = front;
    }
    EXPECT_EQ(previous, 1023);
}

TEST(KheperaSimProximitySensors, CylindersAndBoxesAreSeen)
{
    const ksim::Arena arena(1000.0, 1000.0, {ksim::Box{{100.0, -50.0}, {150.0, 50.0}}},
                            {ksim::Circle{{0.0, 100.0}, 30.0}});
    const ksim::ProximityReadings r = ksim::readProximity(arena, ksim::Pose{50.0, 0.0, 0.0});
    EXPECT_GT(r[2], 300); // box face 25 mm ahead of the front sensors
    const ksim::ProximityReadings up = ksim::readProximity(arena, ksim::Pose{0.0, 40.0, kPi / 2});
    EXPECT_GT(up[2], 300); // cylinder surface 70 - 25 - 40 = 5 mm ahead
}

} // namespace
