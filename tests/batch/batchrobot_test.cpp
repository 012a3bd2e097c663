// orvik-batch --robot: the same files whatever the number of threads, a
// --target that a run reaches, an arena file with every item, and every bad
// robot option or arena file refused with one line and nothing written.
#include "batchprogress.h"
#include "batchtestsupport.h"

#include <algorithm>
#include <limits>

using namespace batchtest;

namespace {
// A small, short robot batch: 12 individuals, 2 s runs.
std::vector<std::string> Small(std::vector<std::string> more)
{
    std::vector<std::string> arguments = {"--robot", "--population", "12", "--rank-parents", "5",
        "--run-length", "2"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// Everything a batch wrote but the measured seconds of its summary file.
std::string Written(const ScratchDir& dir, const std::string& name, std::vector<std::string> arguments)
{
    arguments.insert(arguments.end(), {"--stats", dir / (name + ".csv"), "--summary",
                                          dir / (name + "-summary.csv"), "--save-best", dir / name});
    const BatchCall call = Call(arguments);
    EXPECT_EQ(call.status, 0) << call.err;
    std::string written = call.out + ReadFile(dir / (name + ".csv"));
    for (const std::string& line : Lines(ReadFile(dir / (name + "-summary.csv")))) {
        std::vector<std::string> fields = Fields(line);
        written += fields.at(0) + fields.at(1) + fields.at(2) + fields.at(3) + fields.at(4) + fields.at(6) + "\n";
    }
    for (const std::string& file : dir.Entries(name))
        written += file + "\n" + ReadFile(dir / (name + "/" + file));
    return written;
}
} // namespace

TEST(BatchRobot, SameSeedGivesTheSameFilesWhateverTheThreads)
{
    ScratchDir dir;
    // Noise and two runs per individual: every generator of a run is in use.
    const std::vector<std::string> arguments =
        Small({"--runs", "3", "--seed", "5", "--generations", "2", "--noise", "10", "--runs-per-individual", "2"});
    auto with = [&](const char* jobs) {
        std::vector<std::string> a = arguments;
        a.insert(a.end(), {"--jobs", jobs});
        return a;
    };
    const std::string one = Written(dir, "one", with("1"));
    EXPECT_EQ(Written(dir, "two", with("2")), one);
    EXPECT_EQ(Written(dir, "again", with("2")), one);
    EXPECT_EQ(Lines(ReadFile(dir / "one.csv")).size(), 1u + 3u * 3u); // header, 3 runs x generations 0..2
    EXPECT_EQ(dir.Entries("one"), (std::vector<std::string>{"seed-5.ga", "seed-6.ga", "seed-7.ga"}));
    EXPECT_NE(ReadFile(dir / "one/seed-5.ga").find("\n12 64\n"), std::string::npos); // PAL 4/2/4
}

TEST(BatchRobot, ATargetIsReachedAndAnArenaFileRuns)
{
    ScratchDir dir;
    // Standing still scores 0 and so does spinning: a quarter is reached at once.
    const BatchCall reached = Call(Small({"--target", "0.25", "--generations", "30"}));
    EXPECT_EQ(reached.status, 0) << reached.err;
    EXPECT_NE(reached.out.find("1 of 1 run reached the target 0.25\n"), std::string::npos) << reached.out;
    // Without a target there is no fitness to reach: the bar names none.
    ExperimentProgress progress;
    progress.runs = 2;
    progress.anyBest = true;
    progress.best = 0.5;
    EXPECT_EQ(ProgressDisplay::BarText(progress, std::numeric_limits<double>::infinity()),
              "[........................] 0/2 runs, best 0.5, ? left");

    WriteFile(dir / "room.txt", "# a room with every item\n"
                                "floor 800 600   # walled\n"
                                "box 200 100 300 250\n"
                                "cylinder -200 -150 40\n"
                                "wall -100 -300 -100 0\n"
                                "start -300 100 -45.5\n");
    const BatchCall room = Call(Small({"--arena", dir / "room.txt", "--generations", "1"}));
    EXPECT_EQ(room.status, 0) << room.err;
    EXPECT_EQ(room.out.rfind("1 run of robot controllers in arena " + dir / "room.txt" + " (PAL 4/2/4, 2 s", 0),
              0u)
        << room.out;
}

TEST(BatchRobot, EachBadRobotOptionOrArenaFileIsRefusedWithOneLine)
{
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
    WriteFile(table, XorTable());
    fs::create_directory(dir / "out");
    struct ArenaCase {
        const char* text;
        const char* where; // ", line N" or ""
        const char* message;
    };
    const ArenaCase arenas[] = {
        {"floor 1000 1000\nbox 0 0 10\n", ", line 2", "box needs 4 numbers: x1 y1 x2 y2"},
        {"# c\n\nfloor 1000 1000\ntable 1 2\n", ", line 4",
            "unknown item \"table\" (floor, box, cylinder, wall or start)"},
        {"floor 1000 1000\ncylinder 0 0 1,5\n", ", line 2", "\"1,5\" is not a number"},
        {"floor 1000 0\n", ", line 1", "the floor's width and height must be above 0"},
        {"floor 500 500\nfloor 500 500\n", ", line 2", "a second floor"},
        {"floor 1000 1000\nwall 5 5 5 5\n", ", line 2", "a wall needs two different ends"},
        {"floor 1000 1000\nbox 10 0 10 50\n", ", line 2", "a box needs two corners that differ in x and in y"},
        {"floor 1000 1000\ncylinder 0 0 -1\n", ", line 2", "a cylinder's radius must be above 0"},
        {"floor 100 100\nstart 0 0 0\nstart 1 1 0\n", ", line 3", "a second start"},
        {"floor 1000 1000\nstart 600 0 0\n", ", line 2", "the robot does not fit at the start"},
        {"floor 1000 1000\nstart 0 0 0 # on the wall\nwall -100 0 100 0\n", ", line 2",
            "the robot does not fit at the start"},
        {"floor 1000 1000\ncylinder 0 0 50\n", "", "the robot does not fit at the default start 0 0: add a start line"},
        {"box 0 0 10 10\n", "", "no floor (a line \"floor WIDTH HEIGHT\")"},
    };
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"--robot", "--run-length", "0"}, "--run-length 0: must be a whole number from 1 to 100"},
        {{"--robot", "--runs-per-individual", "11"}, "--runs-per-individual 11: must be a whole number from 1 to 10"},
        {{"--robot", "--motor", "-6,0,5,10"},
            "--motor -6,0,5,10: expected four wheel speeds from -5 to 10, e.g. --motor -5,0,5,10"},
        {{"--robot", "--motor", "1,2,3"}, "--motor 1,2,3: expected four wheel speeds from -5 to 10, e.g. --motor -5,0,5,10"},
        {{"--robot", "--threshold", "1024"}, "--threshold 1024: must be a whole number from 0 to 1023"},
        {{"--robot", "--noise", "101"}, "--noise 101: must be a number from 0 to 100 (percent)"},
        {{"--robot", "--target", "high"}, "--target high: must be a number, e.g. --target 0.8"},
        {{"--robot", "--target", "1.5"}, "--target 1.5: a robot's fitness is at most 1"},
        {{table, "--run-length", "5"}, "--run-length needs --robot"},
        {{"--robot", table}, "--robot evolves robot controllers: leave out the table " + table},
        {{"--robot", "--pal", "4/2/4"}, "--robot: the PAL has 4 inputs and 4 outputs; give its AND terms with --terms"},
        {{"--robot", "--generations", "unlimited"}, "--generations unlimited with --robot needs a --target to stop at"},
        {{"--robot", "--terms", "0"}, "--terms 0: Nul or negative numbers are not allowed"},
        {{"--robot", "--arena", dir / "none.txt"}, "--arena " + dir / "none.txt" + ": No such file or directory"},
        {{"--robot", "--arena", "/dev/zero"}, "--arena /dev/zero: not a regular file"},
    };
    for (std::size_t k = 0; k < std::size(arenas); ++k) {
        const std::string path = dir / ("arena" + std::to_string(k) + ".txt");
        WriteFile(path, arenas[k].text);
        cases.push_back({{"--robot", "--arena", path}, "--arena " + path + arenas[k].where + ": " + arenas[k].message});
    }
    const std::vector<std::string> before = dir.Entries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--stats", dir / "out/stats", "--summary", dir / "out/summary",
                                              "--save-best", dir / "out/best"});
        const BatchCall call = Call(arguments);
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.err, "orvik-batch: " + c.message + "\n");
        EXPECT_EQ(call.out, "");
        EXPECT_EQ(dir.Entries(), before);
        EXPECT_TRUE(dir.Entries("out").empty());
    }
}
