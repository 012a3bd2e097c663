// The report orvik-batch prints shows fitness values as a person reads them,
// while its summary file keeps every digit.
#include "batchtestsupport.h"

#include <regex>

using namespace batchtest;

TEST(BatchSummary, FitnessValuesAreShortInTheReportAndWholeInTheFile)
{
    ScratchDir dir;
    const BatchCall call = Call({"--robot", "--population", "12", "--rank-parents", "5", "--run-length", "2",
                                 "--runs", "3", "--generations", "1", "--summary", dir / "summary.csv"});
    ASSERT_EQ(call.status, 0) << call.err;
    std::smatch line;
    ASSERT_TRUE(std::regex_search(call.out, line, std::regex("best fitness: median [^\n]*"))) << call.out;
    // Every number of the line has at most four decimals.
    EXPECT_FALSE(std::regex_search(line.str(), std::regex("[0-9]\\.[0-9]{5}"))) << line.str();

    // The file's best fitness of some run has more digits than the report shows.
    bool longer = false;
    for (const std::string& row : Lines(ReadFile(dir / "summary.csv")))
        longer = longer || std::regex_search(Fields(row).at(3), std::regex("\\.[0-9]{5}"));
    EXPECT_TRUE(longer);
}
