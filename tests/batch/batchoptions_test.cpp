// The command line: the window's defaults, --help, and every bad argument
// refused with one line, exit code 2 and nothing written.
#include "batchoptions.h"
#include "batchtestsupport.h"

using namespace batchtest;

TEST(BatchOptions, DefaultsAreTheWindowsStartUpValues)
{
    const BatchOptionsResult parsed = ParseBatchOptions({"table.tbl"}, 6);
    ASSERT_EQ(parsed.error, "");
    const BatchOptions& o = parsed.options;
    EXPECT_EQ(o.table, "table.tbl");
    EXPECT_FALSE(o.pal);
    EXPECT_FALSE(o.terms);
    EXPECT_FALSE(o.population); // 100, as the window starts
    EXPECT_EQ(o.mutation, "0.01");
    EXPECT_EQ(o.crossover, "0.7");
    EXPECT_EQ(o.rankParents, "15");
    EXPECT_EQ(o.elitism, "1");
    EXPECT_EQ(o.selection, 1);
    EXPECT_EQ(o.generations, 1000u);
    EXPECT_TRUE(o.stopAtMax);
    EXPECT_EQ(o.runs, 1u);
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.jobs, 6u);
    EXPECT_EQ(o.every, 1u);
    EXPECT_TRUE(o.header);

    const BatchOptionsResult set = ParseBatchOptions(
        {"--selection=roulette", "--generations", "unlimited", "--start", "C:/x.ga:250", "--jobs=3", "t.tbl"},
        6);
    ASSERT_EQ(set.error, "");
    EXPECT_EQ(set.options.selection, 0);
    EXPECT_FALSE(set.options.generations);
    EXPECT_EQ(set.options.startFile, "C:/x.ga");
    EXPECT_EQ(set.options.startGeneration, 250);
    EXPECT_EQ(set.options.jobs, 3u);
}

TEST(BatchOptions, HelpListsEveryOptionWithItsDefault)
{
    const std::string help = BatchHelpText(6);
    const char* options[] = {"--pal", "--terms", "--population", "--mutation", "--crossover", "--selection",
        "--rank-parents", "--elitism", "--generations", "--no-stop-at-max", "--runs", "--seed", "--jobs",
        "--start", "--stats", "--every", "--summary", "--save-best", "--no-header"};
    for (const char* option : options) {
        SCOPED_TRACE(option);
        // The option's entry runs from its name to the next line that starts an entry.
        const std::size_t at = help.find(std::string("\n  ") + option + " ");
        ASSERT_NE(at, std::string::npos);
        const std::size_t next = help.find("\n  --", at + 1);
        EXPECT_NE(help.substr(at, next - at).find("default"), std::string::npos);
    }
    EXPECT_NE(help.find("6 here"), std::string::npos);

    const BatchCall call = Call({"--help"});
    EXPECT_EQ(call.status, 0);
    EXPECT_EQ(call.out.rfind("Usage: orvik-batch [options] TABLE\n", 0), 0u);
    EXPECT_EQ(call.err, "");
}

TEST(BatchOptions, EachBadArgumentIsRefusedWithItsMessageAndNothingIsWritten)
{
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
    WriteFile(table, XorTable());
    WriteFile(dir / "short.tbl", "4 3\n0 1 0\n1 1\n");
    WriteFile(dir / "pop.ga", "Generation 3\n2 4\n0110 12.000000\n1011 -0.500000\n");
    // A population the default PAL can start from: 20 individuals of 48 bits.
    std::string fitting = "Generation 3\n20 48\n";
    for (int i = 0; i < 20; ++i)
        fitting += std::string(48, i % 2 ? '1' : '0') + " 0.000000\n";
    WriteFile(dir / "fit.ga", fitting);
    WriteFile(dir / "seed-7.ga", fitting);
    fs::create_directory(dir / "out");
    const std::string missingFolder = dir / "no/such/s.csv";

    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        // The GA dialog's rules and messages, in their order of precedence.
        {{"--population", "abc"}, "--population abc: Invalid data in the input fields"},
        {{"--mutation", "0,5"}, "--mutation 0,5: Invalid data in the input fields"},
        {{"--elitism", "2.5"}, "--elitism 2.5: Invalid data in the input fields"},
        {{"--population", "0"}, "--population 0: Negative or null numbers disallowed"},
        {{"--population", "-1", "--rank-parents", "200"}, "--population -1: Negative or null numbers disallowed"},
        {{"--rank-parents", "0"}, "--rank-parents 0: Negative or null numbers disallowed"},
        {{"--elitism", "-1"}, "--elitism -1: Negative or null numbers disallowed"},
        {{"--rank-parents", "101"}, "--rank-parents 101: Rank must be lower than the population size"},
        {{"--elitism", "100"}, "--elitism 100: Elitism must be lower than the population size"},
        {{"--mutation", "1"}, "--mutation 1: Crossover and mutation probabilities must be inside [0;1]"},
        {{"--crossover", "1.0"}, "--crossover 1.0: Crossover and mutation probabilities must be inside [0;1]"},
        {{"--population", "0.5", "--rank-parents", "0.5", "--elitism", "0"},
            "--population 0.5: GA: can't create null sized population"},
        {{"--population", "1e9"}, "--population 1e9: Population size must be at most 1000000"}, // the GA dialog's rule
        {{"--selection", "tournament"}, "--selection tournament: must be rank or roulette"},
        // The PAL dialog's rules and the table editor's size message.
        {{"--pal", "11/2/3"},
            "--pal 11/2/3: Maximum number of input/outputs: 10. Maximum number of AND terms: 40"},
        {{"--pal", "4/0/3"}, "--pal 4/0/3: Nul or negative numbers are not allowed"},
        {{"--pal", "4/x/3"}, "--pal 4/x/3: Invalid input in the fields"},
        {{"--pal", "4/2"}, "--pal 4/2: expected inputs/AND terms/outputs, e.g. --pal 4/2/3"},
        {{"--pal", "3/2/3"},
            "--pal 3/2/3: Error: file doesn't contain the same number of input and outputs as the truth "
            "table. "
            "File has 4 inputs and 3 outputs."},
        {{"--terms", "41"},
            "--terms 41: Maximum number of input/outputs: 10. Maximum number of AND terms: 40"},
        {{"--pal", "4/2/3", "--terms", "2"}, "--pal and --terms both set the AND terms: give one of them"},
        // Counts, the stop, the seeds.
        {{"--runs", "0"}, "--runs 0: must be a whole number from 1 to 1000000"},
        {{"--runs", "4294967295"}, "--runs 4294967295: must be a whole number from 1 to 1000000"},
        {{"--jobs", "0"}, "--jobs 0: must be a whole number from 1 to 4294967295"},
        {{"--every", "0"}, "--every 0: must be a whole number from 1 to 4294967295"},
        {{"--seed", "-1"}, "--seed -1: must be a whole number from 0 to 4294967295"},
        {{"--seed", "4294967296"}, "--seed 4294967296: must be a whole number from 0 to 4294967295"},
        {{"--seed", "4294967295", "--runs", "2"},
            "--seed 4294967295 with --runs 2 goes past seed 4294967295"},
        {{"--generations", "ten"},
            "--generations ten: must be a whole number from 0 to 4294967295 or \"unlimited\""},
        {{"--generations", "unlimited", "--no-stop-at-max"},
            "--generations unlimited with --no-stop-at-max would never stop"},
        // The command line itself.
        {{"--bogus"}, "unknown option --bogus (see --help)"},
        {{"-x"}, "unknown option -x (see --help)"},
        {{"--runs"}, "--runs needs a value (see --help)"},
        {{"--runs", "2", "--runs=3"}, "--runs given twice"},
        {{"--no-header=yes"}, "--no-header takes no value"},
        {{"second.tbl"}, "more than one table given: " + table + " and second.tbl"},
        // --start.
        {{"--start", "pop.ga"}, "--start pop.ga: expected file.ga:generation, e.g. --start run.ga:250"},
        {{"--start", dir / "pop.ga:3", "--population", "10"},
            "--start takes the population size from the file: leave out --population"},
        {{"--start", dir / "pop.ga:4"}, "--start: '" + dir / "pop.ga" + "': no block of generation 4"},
        {{"--start", dir / "pop.ga:3"},
            "--start: The file's chromosomes have 4 bits; the PAL needs 48 (4 inputs, 2 AND terms, 3 "
            "outputs)."},
        // Output files.
        {{"--stats", missingFolder}, "--stats " + missingFolder + ": No such file or directory"},
        {{"--summary", dir / "out/m.csv", "--stats", dir / "out/../out/m.csv"},
            "--stats and --summary name the same file"},
        {{"--stats", table}, "--stats " + table + " would replace the table"},
        {{"--summary", dir / "fit.ga", "--start", dir / "fit.ga:3"},
            "--summary " + dir / "fit.ga" + " would replace the --start file"},
        {{"--save-best", dir.Path().string(), "--start", dir / "seed-7.ga:3", "--seed", "5", "--runs", "3"},
            "--save-best " + dir.Path().string() + ": seed-7.ga would replace the --start file"},
        {{"--save-best", dir / "xor.tbl"},
            "--save-best " + dir / "xor.tbl" + ": cannot create the folder: Not a directory"},
    };
    const std::vector<std::string> before = dir.Entries();
    for (const Case& c : cases) {
        // Every output the case leaves out goes to out/, to show that nothing is written.
        std::vector<std::string> arguments = {table};
        for (const char* output : {"--stats", "--summary", "--save-best"}) {
            if (std::find(c.arguments.begin(), c.arguments.end(), output) == c.arguments.end()) {
                arguments.push_back(output);
                arguments.push_back(dir / (std::string("out/") + (output + 2)));
            }
        }
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(c.message);
        const BatchCall call = Call(arguments);
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.err, "orvik-batch: " + c.message + "\n");
        EXPECT_EQ(call.out, "");
        EXPECT_EQ(dir.Entries(), before);
        EXPECT_TRUE(dir.Entries("out").empty());
    }

    // The table itself.
    EXPECT_EQ(Call({}).err, "orvik-batch: no table given (see --help)\n");
    EXPECT_EQ(
        Call({dir / "none.tbl"}).err, "orvik-batch: Error loading truth table " + dir / "none.tbl" + ": No such file or directory\n");
    EXPECT_EQ(Call({dir / "short.tbl"}).err,
        "orvik-batch: " + dir / "short.tbl" + ": the file ends after 5 of its 48 values\n");
    WriteFile(dir / "big.tbl", "11 1\n");
    EXPECT_EQ(Call({dir / "big.tbl"}).err,
        "orvik-batch: " + dir / "big.tbl"
            + ": the table has 11 inputs and 1 outputs; a PAL has 1 to 10 of each\n");
}
