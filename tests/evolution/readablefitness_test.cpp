#include "readablefitness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ReadableFitness, AtMostFourDecimalsWithoutTrailingZeros)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {48, "48"},           {47.5, "47.5"},      {0.495, "0.495"},   {0.9799120234604106, "0.9799"},
        {0.98017595, "0.9802"}, {-0.5, "-0.5"},    {-0.00001, "0"},    {10240, "10240"},
        {0.99999, "1"},       {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadableFitness(c.value), c.text) << c.value;
    EXPECT_EQ(ReadableFitness(std::nan("")), "nan");
}
