// The pure parts of the robot fitness: increment, sensor grouping, threshold,
// motor codes, the repositioning walk's speeds and the run length.
#include "kheperaincrement.h"
#include "motortable.h"
#include "proximitygroups.h"
#include "repositionkhepera.h"
#include "robotfitness.h"

#include <gtest/gtest.h>

#include <array>

namespace {
using Readings = std::array<uint32_t, 8>;

struct IncrementCase {
    const char* name;
    Readings readings;
    int left, right;
    double expected;
};
void PrintTo(const IncrementCase& c, std::ostream* os) { *os << c.name; }
class RobotFitnessIncrement : public ::testing::TestWithParam<IncrementCase> {};

TEST_P(RobotFitnessIncrement, ScoresFastStraightMotionAwayFromObstacles)
{
    const IncrementCase& c = GetParam();
    EXPECT_NEAR(FitnessIncrement(c.readings.data(), c.left, c.right), c.expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RobotFitnessIncrement,
    ::testing::Values(
        IncrementCase{"FullSpeedAhead", {}, 10, 10, 1.0},
        IncrementCase{"FullSpeedBack", {}, -5, -5, 0.5},
        IncrementCase{"SpinOnTheSpot", {}, 10, -5, 0.0},
        IncrementCase{"StandingStill", {}, 0, 0, 0.0},
        IncrementCase{"AboveTenCountsAsTen", {}, 30, 30, 1.0},
        IncrementCase{"BelowMinusFiveCountsAsMinusFive", {}, -30, -30, 0.5},
        IncrementCase{"ClampedSpinStillZero", {}, 30, -30, 0.0},
        // vl = vr = 2/3: V = 1.5 * 1/3 = 0.5.
        IncrementCase{"HalfSpeed", {}, 5, 5, 0.5},
        IncrementCase{"Reading1023", {0, 0, 0, 1023, 0, 0, 0, 0}, 10, 10, 0.0},
        IncrementCase{"ReadingAbove1023", {0, 0, 0, 0, 0, 0, 0, 5000}, 10, 10, 0.0},
        // The largest of the readings is the proximity term.
        IncrementCase{"LargestReadingCounts", {100, 0, 0, 0, 0, 0, 0, 1023 / 2}, 10, 10,
                      1.0 - 511.0 / 1023.0},
        // vl = 1, vr = 2/3: V = 1.5 * 0.5 = 0.75, dv = sqrt(1/3).
        IncrementCase{"Curving", {}, 10, 5, 0.75 * (1.0 - 0.5773502691896257)}),
    [](const ::testing::TestParamInfo<IncrementCase>& info) { return std::string(info.param.name); });

TEST(RobotFitnessProximity, GroupsSensorPairsByTheLargerReading)
{
    const Readings readings{1, 2, 40, 30, 500, 500, 0, 1023};
    EXPECT_EQ(GroupProximity(readings.data()), (Directions{2, 40, 500, 1023}));
    // Compared as unsigned: a huge value is larger, not negative.
    const Readings huge{0xFFFFFFFFu, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(GroupProximity(huge.data())[0], 0xFFFFFFFFu);
}

TEST(RobotFitnessProximity, ThresholdIsStrictForInputsButWhiteAtTheValue)
{
    struct Case {
        uint32_t direction;
        unsigned char input;
        bool white;
    };
    for (const Case& c : {Case{0, 0, false}, Case{299, 0, false}, Case{300, 0, true},
                          Case{301, 1, true}, Case{1023, 1, true}}) {
        const Readings readings{c.direction, 0, c.direction, 0, 0, c.direction, c.direction, 0};
        unsigned char inputs[4] = {9, 9, 9, 9};
        ProximityInputs(GroupProximity(readings.data()), DefaultProximityThreshold, inputs);
        const auto white = ProximityIndicatorsWhite(readings.data(), DefaultProximityThreshold);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(inputs[k], c.input) << "direction " << c.direction;
            EXPECT_EQ(white[k], c.white) << "direction " << c.direction;
        }
    }
}

TEST(RobotFitnessMotor, OutputPairsSelectTableEntriesHighBitFirst)
{
    struct Case {
        std::array<unsigned char, 4> outputs;
        WheelSpeeds speeds;
    };
    for (const Case& c : {Case{{1, 1, 0, 1}, {10, 0}}, Case{{0, 0, 0, 0}, {-5, -5}},
                          Case{{0, 1, 1, 0}, {0, 5}}, Case{{1, 0, 1, 1}, {5, 10}}}) {
        EXPECT_EQ(MotorSpeeds(c.outputs.data(), DefaultMotorTable), c.speeds);
    }
    const MotorTable edited{7, -1, 3, 2};
    const std::array<unsigned char, 4> outputs{0, 1, 1, 1};
    EXPECT_EQ(MotorSpeeds(outputs.data(), edited), (WheelSpeeds{-1, 2}));
}

TEST(RobotFitnessReposition, WanderSpeedsSteerAwayFromObstacles)
{
    struct Case {
        Readings readings;
        WheelSpeeds speeds;
    };
    for (const Case& c : {
             Case{{}, {10, 10}},
             Case{{0, 0, 800, 0, 0, 0, 0, 0}, {16, -8}}, // obstacle ahead-left: turn right
             Case{{0, 0, 0, 800, 0, 0, 0, 0}, {-8, 16}},
             Case{{0, 0, 0, 0, 0, 0, 800, 800}, {18, 18}}, // pushed from behind
             // Truncation toward zero: 4*100/800 = 0; -5*100/800 = 0.
             Case{{100, 0, 0, 0, 0, 0, 0, 0}, {10, 10}},
             Case{{0, 100, 0, 0, 0, 0, 0, 0}, {10, 9}}, // -1500/800 = -1
         }) {
        EXPECT_EQ(WanderSpeeds(c.readings.data()), c.speeds);
    }
}

TEST(RobotFitnessRunLength, ReadsAnIntegerClampedToOneToHundred)
{
    struct Case {
        const char* text;
        int seconds;
    };
    for (const Case& c : {Case{"10", 10}, Case{"abc", 10}, Case{"", 10}, Case{"0", 1},
                          Case{"-3", 1}, Case{"500", 100}, Case{" 7", 7}, Case{"7 s", 7},
                          Case{"+5", 5}, Case{"2.9", 2}}) {
        EXPECT_EQ(ParseRunLength(QString::fromLatin1(c.text)), c.seconds) << c.text;
    }
}
} // namespace
