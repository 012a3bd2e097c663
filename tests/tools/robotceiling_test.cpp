// The exact search for the best robot controller: what it finds must be what
// the controller really scores, and no table may do better, neither over the
// places together nor at any one place.
#include "arena_presets.h"
#include "bestcontroller.h"
#include "robotassessment.h"
#include "start_places.h"

#include <gtest/gtest.h>

#include <random>

TEST(RobotCeiling, NoTableBeatsTheBestControllerAndItScoresWhatWasFound)
{
    const ksim::Arena arena = ksim::makeDefaultArena();
    ksim::StartPlaces places(1);
    const std::vector<ksim::Pose> starts = places.spread(arena, ksim::Pose {}, 3);
    const MotorTable motor {-5, 5, 10, 10};
    const int length = 5;
    const RobotRunSettings settings {RobotTablePal, motor, 300, length};
    const auto runs = [&](const ControllerTable& table) {
        return AssessController(settings, 0.0, TableChromosome(table), arena, starts);
    };

    const BestControllerResult best = BestController(arena, starts, motor, 300, length, 0.0);
    ASSERT_TRUE(best.found);
    EXPECT_NEAR(FiguresOf(runs(best.table)).mean, best.mean, 1e-12);
    EXPECT_FALSE(BestController(arena, starts, motor, 300, length, best.mean + 1e-6).found);

    PartialTable open;
    open.fill(-1);
    std::vector<double> placeBest;
    for (const ksim::Pose& start : starts)
        placeBest.push_back(BestFromPlace(arena, start, motor, 300, length, open).fitness);

    std::mt19937 generator(7);
    for (int k = 0; k < 40; ++k) {
        ControllerTable table;
        for (int& entry : table)
            entry = static_cast<int>(generator() % 16);
        const std::vector<AssessedRun> assessed = runs(table);
        EXPECT_LE(FiguresOf(assessed).mean, best.mean + 1e-12);
        for (std::size_t p = 0; p < starts.size(); ++p)
            EXPECT_LE(assessed[p].run.fitness, placeBest[p] + 1e-12) << "place " << p;
    }
}
