// Robot readings out of range: numbers of any length are read without
// wrapping round; proximity readings above the sensors' 10 bits are 1023, a
// negative one makes the reply unreadable, wheel speeds are clamped to the
// robot's -127..127.
#include "robotcommands.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

TEST(RobotReadings, OutOfRangeValuesAreClampedOrRefusedNeverWrapped)
{
    using Readings = std::array<uint32_t, 8>;
    struct ProximityCase {
        std::string reply;
        int converted;
        Readings readings; // the first `converted` are checked
    };
    const ProximityCase proximity[] = {
        {"n,4294967296,4294967297,1024,1023,0,7,18446744073709551617,99999999999999999999999999", 8,
         {1023, 1023, 1023, 1023, 0, 7, 1023, 1023}},
        {"n,+5,-0,1,2,3,4,5,6", 8, {5, 0, 1, 2, 3, 4, 5, 6}},
        {"n,-1,0,0,0,0,0,0,0", 0, {}},
        {"n,1,2,-4294967295,0,0,0,0,0", 2, {1, 2}},
        {"n,1,2,3,4,5,6,7,-", 7, {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const ProximityCase& c : proximity) {
        SCOPED_TRACE(c.reply);
        Readings readings;
        readings.fill(77);
        EXPECT_EQ(ParseProximityReply(c.reply.c_str(), readings.data()), c.converted);
        for (int k = 0; k < c.converted; ++k)
            EXPECT_EQ(readings[k], c.readings[k]) << k;
    }

    struct SpeedCase {
        std::string reply;
        int converted, left, right;
    };
    const SpeedCase speeds[] = {
        {"e,1215752191,-1215752191", 2, 127, -127},
        {"e,4294967301,-99999999999999999999999", 2, 127, -127},
        {"e,127,-127", 2, 127, -127},
        {"e,128,-128", 2, 127, -127},
        {"e,-5,+10", 2, -5, 10},
        {"e,5,", 1, 5, 77},
    };
    for (const SpeedCase& c : speeds) {
        SCOPED_TRACE(c.reply);
        int left = 77, right = 77;
        EXPECT_EQ(ParseSpeedReply(c.reply.c_str(), left, right), c.converted);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(right, c.right);
    }
}
