// Optional sensor noise: off by default, reproducible by seed, in range.
#include "sensor_noise.h"

#include <gtest/gtest.h>

namespace {

const ksim::ProximityReadings kReadings{0, 5, 100, 450, 1000, 1023, 0, 300};

TEST(KheperaSimSensorNoise, ZeroLevelLeavesReadingsUntouched)
{
    ksim::SensorNoise noise(0.0, 42);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(noise.apply(kReadings), kReadings);
}

TEST(KheperaSimSensorNoise, SameSeedGivesTheSameSequenceAndAnotherSeedDiffers)
{
    ksim::SensorNoise a(10.0, 7);
    ksim::SensorNoise b(10.0, 7);
    ksim::SensorNoise c(10.0, 8);
    bool anyDifference = false;
    for (int i = 0; i < 20; ++i) {
        const auto fromA = a.apply(kReadings);
        EXPECT_EQ(fromA, b.apply(kReadings));
        anyDifference = anyDifference || fromA != c.apply(kReadings);
    }
    EXPECT_TRUE(anyDifference);
}

TEST(KheperaSimSensorNoise, NoisyReadingsStayInRangeAndNearTheTruth)
{
    ksim::SensorNoise noise(100.0, 3);
    double sumOfMiddle = 0.0;
    constexpr int kRounds = 2000;
    for (int i = 0; i < kRounds; ++i) {
        const auto r = noise.apply(kReadings);
        for (int value : r) {
            ASSERT_GE(value, 0);
            ASSERT_LE(value, 1023);
        }
        sumOfMiddle += r[3];
    }
    ksim::SensorNoise mild(5.0, 3);
    const auto r = mild.apply(kReadings);
    EXPECT_NEAR(r[3], 450, 150);
    EXPECT_NEAR(sumOfMiddle / kRounds, 450, 60); // the gain noise is unbiased
}

} // namespace
