// Start places: always where the whole body fits with room to spare, the
// same for the same seed, spread over the floor; a body at a surface touches it.
#include "arena_presets.h"
#include "start_places.h"

#include <gtest/gtest.h>

namespace {
ksim::Arena TwoRooms()
{
    return ksim::Arena(1200, 800, {ksim::Box{{300, 150}, {450, 300}}}, {ksim::Circle{{-300, -200}, 40}},
                       {ksim::Segment{{0, -400}, {0, -60}}, ksim::Segment{{0, 60}, {0, 400}}});
}
} // namespace

TEST(StartPlaces, SpreadPlacesAreClearRepeatableAndCoverTheFloor)
{
    const struct {
        const char* name;
        ksim::Arena arena;
    } arenas[] = {{"default", ksim::makeDefaultArena()}, {"open", ksim::makeOpenArena()}, {"two rooms", TwoRooms()}};
    for (const auto& [name, arena] : arenas) {
        SCOPED_TRACE(name);
        const std::vector<ksim::Pose> places = ksim::StartPlaces(7).spread(arena, {}, 20);
        ASSERT_EQ(places.size(), 20u);
        int quadrant[4] = {};
        for (const ksim::Pose& p : places) {
            EXPECT_TRUE(arena.isFree(p.position()));
            EXPECT_GE(ksim::clearance(arena, p.position()), ksim::kBodyRadiusMm + ksim::kStartClearanceMm);
            EXPECT_FALSE(ksim::touching(arena, p.position()));
            ++quadrant[(p.x > 0 ? 1 : 0) + (p.y > 0 ? 2 : 0)];
        }
        for (int count : quadrant)
            EXPECT_GE(count, 2); // a fifth of the places at least in every quarter, give or take
        const std::vector<ksim::Pose> again = ksim::StartPlaces(7).spread(arena, {}, 20);
        const std::vector<ksim::Pose> other = ksim::StartPlaces(8).spread(arena, {}, 20);
        for (std::size_t k = 0; k < places.size(); ++k) {
            EXPECT_EQ(again[k].x, places[k].x);
            EXPECT_EQ(again[k].heading, places[k].heading);
        }
        EXPECT_NE(other[0].x, places[0].x);
    }
}

TEST(StartPlaces, AFloorWithoutRoomGivesTheFallbackAndContactIsTouching)
{
    const ksim::Arena tight(60, 60);
    const ksim::Pose fallback{1, 2, 0.5};
    const ksim::Pose drawn = ksim::StartPlaces(1).draw(tight, fallback);
    EXPECT_EQ(drawn.x, 1);
    EXPECT_EQ(drawn.heading, 0.5);

    const ksim::Arena arena = ksim::makeOpenArena(); // walls at +-2000
    EXPECT_TRUE(ksim::touching(arena, {2000 - ksim::kBodyRadiusMm, 0}));
    EXPECT_TRUE(ksim::touching(arena, {2000 - ksim::kBodyRadiusMm - 0.5, 0}));
    EXPECT_FALSE(ksim::touching(arena, {2000 - ksim::kBodyRadiusMm - 2, 0}));
    EXPECT_DOUBLE_EQ(ksim::clearance(arena, {1500, 0}), 500);
}
