// The evolution strategy and the evaluation budget of orvik-batch: the same
// files whatever the threads, a budget that ends a run after exactly its
// evaluations (inside a generation too), and the options refused.
#include "batchtestsupport.h"

using namespace batchtest;

namespace {
struct StrategyFixture : ::testing::Test {
    void SetUp() override { WriteFile(table, XorTable()); }
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";

    // The batch's summary file for `arguments` (after the table).
    std::vector<std::string> Summary(std::vector<std::string> arguments, const std::string& name)
    {
        arguments.insert(arguments.begin(), table);
        arguments.insert(arguments.end(), {"--summary", dir / name});
        const BatchCall call = Call(arguments);
        EXPECT_EQ(call.status, 0) << call.err;
        return Lines(ReadFile(dir / name));
    }
};
} // namespace

TEST_F(StrategyFixture, EvolutionStrategyGivesTheSameFilesWhateverTheThreads)
{
    std::vector<std::string> files[2];
    for (int jobs = 1; jobs <= 2; ++jobs) {
        const std::string name = "j" + std::to_string(jobs);
        const BatchCall call = Call({table, "--strategy", "es", "--lambda", "3", "--runs", "4", "--generations",
            "300", "--jobs", std::to_string(jobs), "--stats", dir / (name + ".csv"), "--save-best", dir / name});
        ASSERT_EQ(call.status, 0) << call.err;
        files[jobs - 1].push_back(ReadFile(dir / (name + ".csv")));
        for (const std::string& saved : dir.Entries(name))
            files[jobs - 1].push_back(ReadFile(dir / (name + "/" + saved)));
    }
    EXPECT_EQ(files[0], files[1]);
    ASSERT_EQ(files[0].size(), 5u);
    EXPECT_NE(files[0][1].find("\n4 48\n"), std::string::npos); // a population of 1 + lambda
}

TEST_F(StrategyFixture, TheBudgetEndsARunAfterExactlyItsEvaluations)
{
    // One AND term cannot reach the maximum, so every run uses its budget.
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        const char* generations; // steps made, the last one evaluated only in part unless noted
        const char* budget;
    };
    const Case cases[] = {
        {"GA, 31 + 31 + 31 + 7", {"--population", "31", "--rank-parents", "7", "--evaluations", "100"}, "3", "100"},
        {"GA, whole generations", {"--population", "10", "--rank-parents", "5", "--evaluations", "50"}, "4", "50"},
        {"ES, 5 + 4 x 8 (the parent keeps its fitness)", {"--strategy", "es", "--evaluations", "37"}, "8", "37"},
        {"ES, one evaluation into generation 9", {"--strategy", "es", "--evaluations", "38"}, "9", "38"},
        {"ES, fewer than the first generation", {"--strategy", "es", "--lambda", "9", "--evaluations", "4"}, "0",
            "4"},
        // The GA's default work: 1000 generations of 100.
        {"ES with its defaults, 5 + 4 x 24998 + 3", {"--strategy", "es"}, "24999", "100000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--terms", "1", "--runs", "2"});
        const std::vector<std::string> summary = Summary(arguments, "summary.csv");
        ASSERT_EQ(summary.size(), 3u);
        EXPECT_EQ(summary[0], "run,seed,generations,best,reached_max,seconds,finished,evaluations");
        const std::string budget = c.budget;
        for (std::size_t run = 1; run <= 2; ++run) {
            const std::vector<std::string> fields = Fields(summary[run]);
            ASSERT_EQ(fields.size(), 8u);
            EXPECT_EQ(fields[2], c.generations);
            EXPECT_EQ(fields[4], "0");
            EXPECT_EQ(fields[6], "1");
            EXPECT_EQ(fields[7], budget);
        }
    }
}

TEST_F(StrategyFixture, EvaluationsCountUntilTheMaximumWasFirstReached)
{
    const std::vector<std::string> summary =
        Summary({"--strategy", "es", "--runs", "3", "--generations", "unlimited"}, "summary.csv");
    ASSERT_EQ(summary.size(), 4u);
    for (std::size_t run = 1; run <= 3; ++run) {
        const std::vector<std::string> fields = Fields(summary[run]);
        ASSERT_EQ(fields.size(), 8u);
        EXPECT_EQ(fields[4], "1");
        // The maximum came with one of the generation's offspring.
        const long generations = std::stol(fields[2]);
        const long evaluations = std::stol(fields[7]);
        EXPECT_GT(evaluations, 5 + 4 * (generations - 1));
        EXPECT_LE(evaluations, 5 + 4 * generations);
    }
}

TEST_F(StrategyFixture, StrategyOptionsAreRefusedWithTheirMessages)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--strategy", "cmaes"}, "--strategy cmaes: must be ga or es"},
        {{"--lambda", "4"}, "--lambda is the evolution strategy's: add --strategy es"},
        {{"--strategy", "es", "--population", "9"},
            "--strategy es takes the population size from --lambda (1 + lambda): leave out --population"},
        {{"--strategy", "es", "--lambda", "0"}, "--lambda 0: must be a whole number from 1 to 999999"},
        {{"--strategy", "es", "--mutation", "0"}, "--mutation 0: Negative or null numbers disallowed"},
        {{"--strategy", "es", "--mutation", "1"}, "Crossover and mutation probabilities must be inside [0;1]"},
        {{"--mutation", "2/L"}, "--mutation 2/L: Invalid data in the input fields"},
        {{"--evaluations", "0"}, "--evaluations 0: must be a whole number from 1 to 18446744073709551615"},
        {{"--es-mutation", "bits:0", "--strategy", "es"},
            "--es-mutation bits:0: must be per-bit, fuse-pairs or bits:K (K >= 1)"},
        {{"--strategy", "es", "--crossover", "0.7"}, "--crossover applies to the GA only: leave it out with --strategy es"},
        {{"--strategy", "es", "--selection", "rank"}, "--selection applies to the GA only: leave it out with --strategy es"},
        {{"--elitism", "1", "--strategy", "es"}, "--elitism applies to the GA only: leave it out with --strategy es"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        std::vector<std::string> all = arguments;
        all.push_back(table);
        const BatchCall call = Call(all);
        EXPECT_EQ(call.status, 2);
        EXPECT_NE(call.err.find(message), std::string::npos) << call.err;
    }
}

TEST_F(StrategyFixture, OnTheRobotTheParentIsEvaluatedAgainEveryGeneration)
{
    // A robot's fitness varies from run to run, so each generation costs
    // 1 + lambda evaluations: 5 + 5 x 6 + 2 of the seventh.
    const BatchCall call = Call({"--robot", "--strategy", "es", "--run-length", "1", "--runs", "2",
        "--evaluations", "37", "--summary", dir / "robot.csv"});
    ASSERT_EQ(call.status, 0) << call.err;
    const std::vector<std::string> summary = Lines(ReadFile(dir / "robot.csv"));
    ASSERT_EQ(summary.size(), 3u);
    for (std::size_t run = 1; run <= 2; ++run) {
        const std::vector<std::string> fields = Fields(summary[run]);
        ASSERT_EQ(fields.size(), 8u);
        EXPECT_EQ(fields[2], "7");
        EXPECT_EQ(fields[7], "37");
    }
}
