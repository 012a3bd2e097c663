// Runs of orvik-batch: the same seed gives the same files whatever the
// number of threads, the statistics rows agree with the saved populations, a
// run stops at the maximum fitness and says so, and --start continues a
// saved population.
#include "batchsummary.h"
#include "batchtestsupport.h"
#include "ga.h"
#include "statisticsfile.h"
#include "truthtablefitness.h"

#include <clocale>
#include <cstdlib>

using namespace batchtest;

namespace {
// Everything but the measured seconds (column 6) of a summary file.
std::string WithoutSeconds(const std::string& summary)
{
    std::string kept;
    for (const std::string& line : Lines(summary)) {
        std::vector<std::string> fields = Fields(line);
        fields.at(5).clear();
        for (std::size_t f = 0; f < fields.size(); ++f)
            kept += (f ? "," : "") + fields[f];
        kept += "\n";
    }
    return kept;
}

struct Outputs {
    std::string out, stats, summary;
    std::vector<std::string> saved; // the .ga files, in name order
};

Outputs RunInto(const ScratchDir& dir, const std::string& name, std::vector<std::string> arguments)
{
    arguments.insert(arguments.end(),
        {"--stats", dir / (name + ".csv"), "--summary", dir / (name + "-summary.csv"), "--save-best",
            dir / name});
    const BatchCall call = Call(arguments);
    EXPECT_EQ(call.status, 0) << call.err;
    Outputs outputs {call.out, ReadFile(dir / (name + ".csv")), ReadFile(dir / (name + "-summary.csv")), {}};
    for (const std::string& file : dir.Entries(name))
        outputs.saved.push_back(file + "\n" + ReadFile(dir / (name + "/" + file)));
    return outputs;
}

// The table of maximum fitness 48, or 46 unreachable with one AND term.
struct XorFixture : ::testing::Test {
    void SetUp() override { WriteFile(table, XorTable()); }
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
};
} // namespace

TEST_F(XorFixture, SameSeedGivesTheSameFilesWhateverTheThreads)
{
    // Roulette selection and an odd population exercise both generators.
    const std::vector<std::string> arguments = {table, "--runs", "5", "--seed", "11", "--population", "31",
        "--rank-parents", "7", "--selection", "roulette", "--generations", "40", "--every", "3"};
    auto with = [&](const char* jobs) {
        std::vector<std::string> a = arguments;
        a.insert(a.end(), {"--jobs", jobs});
        return a;
    };
    const Outputs one = RunInto(dir, "one", with("1"));
    const Outputs two = RunInto(dir, "two", with("2"));
    const Outputs again = RunInto(dir, "again", with("2"));
    for (const Outputs* other : {&two, &again}) {
        EXPECT_EQ(other->out, one.out);
        EXPECT_EQ(other->stats, one.stats);
        EXPECT_EQ(WithoutSeconds(other->summary), WithoutSeconds(one.summary));
        EXPECT_EQ(other->saved, one.saved);
    }
    EXPECT_EQ(one.saved.size(), 5u);
    EXPECT_EQ(Lines(one.summary).size(), 6u);
    // Different seeds are different runs.
    EXPECT_NE(one.saved[0].substr(one.saved[0].find('\n')), one.saved[1].substr(one.saved[1].find('\n')));
}

TEST_F(XorFixture, StatisticsRowsAgreeWithTheSavedPopulations)
{
    const Outputs outputs = RunInto(dir, "runs",
        {table, "--runs", "3", "--seed", "4", "--terms", "1", "--generations", "50", "--every", "7",
            "--mutation", "0.02"});
    const std::vector<std::string> rows = Lines(outputs.stats);
    ASSERT_EQ(rows.at(0), "run,seed,generation,max,average,min");
    const PalConfig pal {4, 1, 3};
    TruthTable reference;
    std::istringstream cells(XorTable().substr(4)); // after the header
    for (int32_t v; cells >> v;)
        reference.push_back(v);
    for (uint32_t run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const uint32_t seed = 4 + run;
        // Every seventh generation from 0, and always the last one.
        std::vector<std::string> mine;
        for (const std::string& row : rows)
            if (row.rfind(std::to_string(run) + "," + std::to_string(seed) + ",", 0) == 0)
                mine.push_back(row);
        std::vector<std::string> generations;
        for (const std::string& row : mine)
            generations.push_back(Fields(row)[2]);
        EXPECT_EQ(
            generations, (std::vector<std::string> {"0", "7", "14", "21", "28", "35", "42", "49", "50"}));

        // The last row is the saved population's max, average and min.
        GA saved(1, 1);
        ASSERT_TRUE(saved.LoadGeneration(dir / ("runs/seed-" + std::to_string(seed) + ".ga"), 50));
        const GAFitInfo info = saved.GetFitInfo().back();
        const std::vector<std::string> last = Fields(mine.back());
        EXPECT_EQ(std::strtod(last[3].c_str(), nullptr), info.max);
        EXPECT_EQ(std::strtod(last[4].c_str(), nullptr), info.average);
        EXPECT_EQ(std::strtod(last[5].c_str(), nullptr), info.min);
        // And each saved fitness is the reference fitness of its chromosome.
        for (uint32_t i = 0; i < saved.GetPopulationSize(); ++i)
            EXPECT_EQ(saved.At(i).GetFitness(), ComputeFitnessTruthTable(pal, reference, saved.At(i)));
    }
}

TEST_F(XorFixture, ARunStopsAtTheMaximumAndSaysSo)
{
    const Outputs outputs = RunInto(dir, "max", {table, "--runs", "3", "--generations", "400"});
    const std::vector<std::string> summary = Lines(outputs.summary);
    ASSERT_EQ(summary.size(), 4u);
    std::vector<double> needed;
    for (uint32_t run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const std::vector<std::string> fields = Fields(summary[run + 1]);
        ASSERT_EQ(fields.size(), 7u);
        EXPECT_EQ(fields[3], "48");
        EXPECT_EQ(fields[4], "1");
        EXPECT_EQ(fields[6], "1");
        // The run's last row is the first that reaches 48, at the generation the summary gives.
        std::vector<std::string> rows;
        for (const std::string& row : Lines(outputs.stats))
            if (row.rfind(std::to_string(run) + ",", 0) == 0)
                rows.push_back(row);
        EXPECT_EQ(Fields(rows.back())[2], fields[2]);
        EXPECT_EQ(Fields(rows.back())[3], "48");
        for (std::size_t r = 0; r + 1 < rows.size(); ++r)
            EXPECT_NE(Fields(rows[r])[3], "48");
        EXPECT_EQ(rows.size(), std::stoul(fields[2]) + 1);
        needed.push_back(std::stod(fields[2]));
    }
    const Spread spread = SpreadOf(needed);
    const std::string median = StatisticsFile::Number(spread.median);
    EXPECT_NE(outputs.out.find("3 of 3 runs reached the maximum fitness 48\n"), std::string::npos)
        << outputs.out;
    EXPECT_NE(outputs.out.find("generations needed: median " + median + ", quartiles "), std::string::npos)
        << outputs.out;

    // With one AND term per output the maximum is out of reach: the runs go to the limit.
    const Outputs limited
        = RunInto(dir, "limited", {table, "--terms", "1", "--runs", "2", "--generations", "30"});
    for (const std::string& row : {Lines(limited.summary)[1], Lines(limited.summary)[2]}) {
        const std::vector<std::string> fields = Fields(row);
        EXPECT_EQ(fields[2], "30");
        EXPECT_EQ(fields[4], "0");
        EXPECT_EQ(fields[6], "1");
    }
    EXPECT_NE(
        limited.out.find("0 of 2 runs reached the maximum fitness 48\nbest fitness of the other 2 runs: "),
        std::string::npos)
        << limited.out;
}

TEST_F(XorFixture, StartContinuesASavedPopulationWithTheRunsOwnDraws)
{
    RunInto(dir, "first", {table, "--generations", "20", "--terms", "1"});
    const std::string start = dir / "first/seed-1.ga:20";
    const Outputs a = RunInto(dir, "a",
        {table, "--terms", "1", "--start", start, "--generations", "10", "--runs", "2", "--seed", "7",
            "--no-header"});
    const std::vector<std::string> rows = Lines(a.stats);
    ASSERT_EQ(rows.size(), 20u); // no header; generations 21 .. 30 of two runs
    EXPECT_EQ(rows.front().substr(0, 7), "0,7,21,");
    EXPECT_EQ(Fields(rows[9])[2], "30");
    EXPECT_EQ(Fields(rows[10])[0] + "," + Fields(rows[10])[2], "1,21");
    EXPECT_EQ(Fields(Lines(a.summary)[0])[2], "10");
    EXPECT_NE(rows[0], rows[10]); // seeds 7 and 8 breed differently
    // The start is the same for both runs, and the same again next time.
    const Outputs b = RunInto(dir, "b",
        {table, "--terms", "1", "--start", start, "--generations", "10", "--runs", "2", "--seed", "7",
            "--no-header"});
    EXPECT_EQ(b.stats, a.stats);
}

TEST_F(XorFixture, APlaTargetRunsLikeTheSameTableInTblForm)
{
    // The same function as XorTable(), as on-set cubes; cells no cube mentions are 0.
    WriteFile(dir / "xor.pla",
        "# O0 = a XOR b, O1 = c AND d, O2 = a OR d\n"
        ".i 4\n.o 3\n.ilb a b c d\n.ob x y z\n.p 5\n"
        "10-- 100\n01-- 100\n--11 010\n1--- 001\n---1 001\n.e\n");
    const std::vector<std::string> options = {"--runs", "2", "--generations", "30", "--terms", "3"};
    std::vector<std::string> fromTbl = {table};
    std::vector<std::string> fromPla = {dir / "xor.pla"};
    fromTbl.insert(fromTbl.end(), options.begin(), options.end());
    fromPla.insert(fromPla.end(), options.begin(), options.end());
    const Outputs tbl = RunInto(dir, "tbl", fromTbl);
    const Outputs pla = RunInto(dir, "pla", fromPla);
    EXPECT_EQ(pla.stats, tbl.stats);
    EXPECT_EQ(pla.saved, tbl.saved);

    // A file the PLA reader refuses is refused with its message.
    WriteFile(dir / "wide.PLA", ".i 11\n.o 1\n.e\n");
    const BatchCall refused = Call({dir / "wide.PLA"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err.rfind("orvik-batch: " + dir / "wide.PLA" + ": ", 0), 0u) << refused.err;
    EXPECT_GT(refused.err.size(), ("orvik-batch: " + dir / "wide.PLA" + ": \n").size());
    EXPECT_EQ(
        Call({dir / "none.pla"}).err,
        "orvik-batch: Error loading truth table " + dir / "none.pla" + ": No such file or directory\n");
}

TEST_F(XorFixture, AStopBeforeTheRunsBeginStillWritesCompleteFiles)
{
    char* outText = nullptr;
    std::size_t outLength = 0;
    std::FILE* out = open_memstream(&outText, &outLength);
    std::FILE* err = std::fopen("/dev/null", "w");
    std::atomic<bool> stop {true};
    const std::atomic<int> signal {2};
    const int status = RunBatch({table, "--runs", "2", "--stats", dir / "s.csv", "--summary", dir / "m.csv"},
        stop, signal, BatchStreams {out, err, 0});
    std::fclose(out);
    std::fclose(err);
    const std::string printed(outText, outLength);
    std::free(outText);

    EXPECT_EQ(status, 130);
    EXPECT_EQ(ReadFile(dir / "s.csv"), "run,seed,generation,max,average,min\n");
    EXPECT_EQ(ReadFile(dir / "m.csv"),
        "run,seed,generations,best,reached_max,seconds,finished\n0,1,,,0,,0\n1,2,,,0,,0\n");
    EXPECT_NE(printed.find("interrupted: 0 runs stopped early, 2 runs not begun"), std::string::npos)
        << printed;
    EXPECT_EQ(dir.Entries(), (std::vector<std::string> {"m.csv", "s.csv", "xor.tbl"}));
}

TEST_F(XorFixture, ADecimalCommaLocaleChangesNothing)
{
    const std::vector<std::string> arguments
        = {table, "--runs", "2", "--generations", "5", "--mutation", "0.02"};
    const Outputs plain = RunInto(dir, "plain", arguments);

    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : candidates)
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",") {
            chosen = name;
            break;
        }
    if (!chosen) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const Outputs comma = RunInto(dir, "comma", arguments);
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(comma.out, plain.out);
    EXPECT_EQ(comma.stats, plain.stats);
    EXPECT_EQ(comma.saved, plain.saved);
    EXPECT_NE(plain.stats.find('.'), std::string::npos); // some average is not a whole number
    for (const std::string& row : Lines(comma.stats))
        EXPECT_EQ(Fields(row).size(), 6u) << row;
}

TEST(BatchSummary, QuartilesInterpolateBetweenTheSortedValues)
{
    const Spread four = SpreadOf({4, 1, 3, 2});
    EXPECT_EQ(four.min, 1);
    EXPECT_EQ(four.q1, 1.75);
    EXPECT_EQ(four.median, 2.5);
    EXPECT_EQ(four.q3, 3.25);
    EXPECT_EQ(four.max, 4);
    const Spread one = SpreadOf({7});
    EXPECT_EQ(one.q1, 7);
    EXPECT_EQ(one.median, 7);
    EXPECT_EQ(one.q3, 7);
}
