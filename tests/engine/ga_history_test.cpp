// The fitness history: records, their summaries, the log lines that
// GetFitInfo writes, and the statistics of the current population.
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
GA WithFitness(const std::vector<double>& fitness)
{
    GA ga(static_cast<uint32_t>(fitness.size()), 4);
    for (uint32_t i = 0; i < fitness.size(); ++i)
        ga.At(i).SetFitness(fitness[i]);
    return ga;
}
} // namespace

TEST(GAHistory, OneRecordPerEvaluatedGeneration)
{
    GA ga(3, 5);
    ga.Reset();
    for (int round = 0; round < 3; ++round) {
        for (uint32_t i = 0; i < 3; ++i)
            ga.At(i).SetFitness(10.0 * round + i);
        ga.RecordGeneration();
        EXPECT_TRUE(ga.IsEvaluated());
        EXPECT_EQ(ga.History().back().values, (std::vector<double>{10.0 * round, 10.0 * round + 1, 10.0 * round + 2}));
        ga.NextGeneration();
    }
    ASSERT_EQ(ga.History().size(), 3u);
    for (int32_t k = 0; k < 3; ++k)
        EXPECT_EQ(ga.History()[static_cast<std::size_t>(k)].generation, k);
}

TEST(GAHistory, SummariesOfRecords)
{
    const struct {
        std::vector<double> values;
        double max, average, min;
    } rows[] = {
        {{2, 5, 3}, 5, 10.0 / 3, 2},
        {{4.5}, 4.5, 4.5, 4.5},
        {{-1, -3}, -1, -2, -3},
        {{0, 0, 0, 0}, 0, 0, 0},
        {{1, 7, 7, 1}, 7, 4, 1},
    };
    for (const auto& row : rows) {
        GA ga = WithFitness(row.values);
        ga.RecordGeneration();
        const std::vector<GAFitInfo> info = ga.GetFitInfo();
        ASSERT_EQ(info.size(), 1u);
        EXPECT_EQ(info[0].max, row.max);
        EXPECT_DOUBLE_EQ(info[0].average, row.average);
        EXPECT_EQ(info[0].min, row.min);
        EXPECT_EQ(info[0].generation, 0);
        EXPECT_EQ(ga.MaxFitness(), row.max);
        EXPECT_DOUBLE_EQ(ga.AverageFitness(), row.average);
        EXPECT_EQ(ga.MinFitness(), row.min);
    }
}

TEST(GAHistory, EmptyHistoryGivesEmptyListAndNoLog)
{
    GA ga(4, 4);
    LogRecorder log;
    EXPECT_TRUE(ga.GetFitInfo().empty());
    EXPECT_EQ(log.text, "");
}

TEST(GAHistory, LogsTwoLinesPerRecordAtEveryCall)
{
    GA ga = WithFitness({2, 5, 3, 9});
    ga.RecordGeneration();
    ga.NextGeneration();
    for (uint32_t i = 0; i < 4; ++i)
        ga.At(i).SetFitness(1.5);
    ga.RecordGeneration();

    const std::string expected = "In da get fit info computation loop. 0 9.000000 2.000000 4.750000\n"
                                 "first 3 ind: 2.000000 5.000000 3.000000\n"
                                 "In da get fit info computation loop. 1 1.500000 1.500000 1.500000\n"
                                 "first 3 ind: 1.500000 1.500000 1.500000\n";
    LogRecorder log;
    ga.GetFitInfo();
    EXPECT_EQ(log.text, expected);
    log.text.clear();
    ga.GetFitInfo(); // already summarised: the lines are written again all the same
    EXPECT_EQ(log.text, expected);
}

TEST(GAHistory, FirstThreeLineShowsTheValuesAShortRecordHas)
{
    const struct {
        std::vector<double> values;
        const char* line;
    } rows[] = {
        {{4}, "first 3 ind: 4.000000\n"},
        {{4, -1}, "first 3 ind: 4.000000 -1.000000\n"},
    };
    for (const auto& row : rows) {
        GA ga = WithFitness(row.values);
        ga.RecordGeneration();
        LogRecorder log;
        ga.GetFitInfo();
        EXPECT_NE(log.text.find(row.line), std::string::npos) << log.text;
    }
}

TEST(GAHistory, SummariesFollowEveryChangeOfTheHistory)
{
    // Each operation that empties or replaces the history must not leave
    // summaries of the old records behind.
    const struct {
        const char* name;
        void (*change)(GA&);
    } rows[] = {
        {"Reset", [](GA& ga) { ga.Reset(); }},
        {"SetSizes", [](GA& ga) { ga.SetSizes(3, 4); }},
        {"SetPopulationSize", [](GA& ga) { ga.SetPopulationSize(3); }},
        {"LoadGeneration", [](GA& ga) {
             ASSERT_TRUE(ga.LoadGenerationFromText("Generation 8\n3 4\n0000 0.0\n0000 0.0\n0000 0.0\n", 8).ok);
         }},
    };
    for (const auto& row : rows) {
        GA ga = WithFitness({10, 20, 30});
        ga.RecordGeneration();
        ga.RecordGeneration();
        ASSERT_EQ(ga.GetFitInfo().size(), 2u);
        row.change(ga);
        for (uint32_t i = 0; i < 3; ++i)
            ga.At(i).SetFitness(-1.0 - i);
        ga.RecordGeneration();
        const std::vector<GAFitInfo> info = ga.GetFitInfo();
        ASSERT_EQ(info.size(), ga.History().size()) << row.name;
        EXPECT_EQ(info.back().max, -1.0) << row.name;
        EXPECT_EQ(info.back().min, -3.0) << row.name;
        EXPECT_EQ(info.front().max, row.name == std::string("LoadGeneration") ? 0.0 : -1.0) << row.name;
    }
}

TEST(GAHistory, AppendedRecordsAreSummarisedAtTheNextCall)
{
    GA ga = WithFitness({1, 2});
    for (int round = 0; round < 5; ++round) {
        ga.At(0).SetFitness(round);
        ga.RecordGeneration();
        const std::vector<GAFitInfo> info = ga.GetFitInfo();
        ASSERT_EQ(info.size(), static_cast<std::size_t>(round) + 1);
        for (int k = 0; k <= round; ++k)
            EXPECT_EQ(info[static_cast<std::size_t>(k)].min, std::min(k, 2));
    }
}

TEST(GAHistory, RevisionChangesWhenTheHistoryIsClearedOrReplacedNotWhenItGrows)
{
    GA ga(3, 5);
    const uint64_t start = ga.HistoryRevision();
    ga.RecordGeneration();
    ga.NextGeneration();
    ga.RecordGeneration();
    EXPECT_EQ(ga.HistoryRevision(), start); // appending keeps the number

    std::vector<uint64_t> seen{start};
    const auto expectNew = [&](const char* what) {
        const uint64_t now = ga.HistoryRevision();
        EXPECT_EQ(std::find(seen.begin(), seen.end(), now), seen.end()) << what;
        seen.push_back(now);
    };
    ga.Reset();
    expectNew("Reset");
    ga.SetPopulationSize(4);
    expectNew("SetPopulationSize");
    ga.SetSizes(4, 6);
    expectNew("SetSizes");
    ASSERT_TRUE(ga.LoadGenerationFromText("Generation 2\n1 2\n01 1.0\n", 2).ok);
    expectNew("a load");
    const uint64_t loaded = ga.HistoryRevision();
    EXPECT_FALSE(ga.LoadGenerationFromText("Generation 2\n1 2\n0 1.0\n", 2).ok);
    EXPECT_EQ(ga.HistoryRevision(), loaded); // a refused load changes nothing

    // A copy's history may grow apart from the original's: never the same number.
    const GA copy = ga;
    EXPECT_NE(copy.HistoryRevision(), ga.HistoryRevision());
    EXPECT_EQ(ga.HistoryRevision(), loaded);
    GA assigned(1, 1);
    assigned = ga;
    EXPECT_NE(assigned.HistoryRevision(), ga.HistoryRevision());
    EXPECT_NE(assigned.HistoryRevision(), copy.HistoryRevision());
}
