// orvik-batch --robot --assess: the same figures twice and for any number of
// threads (with every new evaluation option at work), the same figures for a
// run's saved population, a stall found on controllers built to stall, every
// bad assessment option refused; and without the new options a robot batch
// computes exactly what it computed before they came.
#include "batchtestsupport.h"

using namespace batchtest;

namespace {
std::string Arena(const ScratchDir& dir)
{
    const std::string path = dir / "room.arena";
    WriteFile(path, "floor 800 600\nbox 100 50 250 200\nwall -200 -300 -200 0\n");
    return path;
}

// A population file of one robot controller, 4/2/4, every fuse 0: each AND
// term is always true, so every output is 1 and both wheels take code 3.
std::string StandingFile(const ScratchDir& dir)
{
    const std::string path = dir / "fixed.ga";
    WriteFile(path, "Generation 0\n1 64\n" + std::string(64, '0') + " 0.5\n");
    return path;
}
} // namespace

TEST(BatchAssess, TheSameFiguresTwiceForAnyThreadsAndFromTheSavedPopulation)
{
    ScratchDir dir;
    const std::string arena = Arena(dir);
    const std::vector<std::string> arguments = {"--robot", "--population", "10", "--rank-parents", "4",
        "--run-length", "2", "--runs", "3", "--generations", "2", "--motor", "-5,5,10,10", "--noise", "5", "--arena",
        "default", "--arena", arena, "--shared-starts", "--reevaluate", "1", "--stall-penalty", "50", "--assess",
        "4", "--assess-arena", "default", "--assess-arena", "open", "--assess-length", "3"};
    auto run = [&](const std::string& name, const char* jobs) {
        std::vector<std::string> a = arguments;
        a.insert(a.end(), {"--jobs", jobs, "--assessment", dir / (name + ".csv"), "--save-best", dir / name});
        const BatchCall call = Call(a);
        EXPECT_EQ(call.status, 0) << call.err;
        return call.out + ReadFile(dir / (name + ".csv"));
    };
    const std::string one = run("one", "1");
    EXPECT_EQ(run("two", "2"), one);
    EXPECT_EQ(run("again", "2"), one);
    EXPECT_NE(one.find("of robot controllers in the default arena and arena " + arena + " (PAL 4/2/4, 2 s per "
                       "evaluation, 2 per individual"),
              std::string::npos)
        << one;
    EXPECT_NE(one.find("the open arena: "), std::string::npos) << one;
    EXPECT_NE(one.find("every arena: "), std::string::npos) << one;
    const std::vector<std::string> rows = Lines(ReadFile(dir / "one.csv"));
    ASSERT_EQ(rows.size(), 1u + 3u * 2u * 4u); // header, 3 runs x 2 arenas x 4 places
    EXPECT_EQ(rows[0], "run,seed,arena,place,x,y,heading,fitness,stalled,contact");

    // The saved populations, assessed on their own, from the same places.
    const BatchCall files = Call({"--robot", "--motor", "-5,5,10,10", "--noise", "5", "--assess", "4",
        "--assess-arena", "default", "--assess-arena", "open", "--assess-length", "3", "--assessment",
        dir / "files.csv", dir / "one/seed-1.ga", dir / "one/seed-2.ga", dir / "one/seed-3.ga"});
    ASSERT_EQ(files.status, 0) << files.err;
    const std::vector<std::string> fileRows = Lines(ReadFile(dir / "files.csv"));
    ASSERT_EQ(fileRows.size(), rows.size());
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const std::size_t afterSeed = rows[k].find(',', rows[k].find(',') + 1);
        const std::size_t afterFile = fileRows[k].find(",default,") != std::string::npos
            ? fileRows[k].find(",default,")
            : fileRows[k].find(",open,");
        EXPECT_EQ(fileRows[k].substr(afterFile), rows[k].substr(afterSeed)) << k;
    }
}

TEST(BatchAssess, AStallIsFoundOnControllersBuiltToStall)
{
    ScratchDir dir;
    struct Case {
        const char* motor;
        const char* seconds;
        bool allStalled; // standing: every run; driving straight: those held at a wall
    };
    for (const Case& c : {Case {"0,0,0,0", "3", true}, Case {"10,10,10,10", "20", false}}) {
        SCOPED_TRACE(c.motor);
        const BatchCall call = Call({"--robot", "--motor", c.motor, "--assess", "10", "--assess-length", c.seconds,
            "--assessment", dir / "stall.csv", StandingFile(dir)});
        ASSERT_EQ(call.status, 0) << call.err;
        int stalled = 0;
        int contact = 0;
        const std::vector<std::string> rows = Lines(ReadFile(dir / "stall.csv"));
        ASSERT_EQ(rows.size(), 11u);
        for (std::size_t k = 1; k < rows.size(); ++k) {
            const std::vector<std::string> fields = Fields(rows[k]);
            stalled += fields.at(7) == "1";
            contact += fields.at(8) == "1";
            if (c.allStalled) {
                EXPECT_EQ(fields.at(6), "0"); // file,arena,place,x,y,heading,fitness,...
            }
        }
        if (c.allStalled) {
            EXPECT_EQ(stalled, 10);
            EXPECT_EQ(contact, 0);
        } else {
            EXPECT_GT(stalled, 0); // held at a wall
            EXPECT_GT(contact, 0);
        }
        EXPECT_NE(call.out.find(std::to_string(stalled) + " of 10 stalled"), std::string::npos) << call.out;
        EXPECT_NE(call.out.find("the default arena: 0 of 1 pass"), std::string::npos) << call.out;
    }
}

TEST(BatchAssess, EachBadAssessmentOptionIsRefusedWithOneLine)
{
    ScratchDir dir;
    const std::string population = StandingFile(dir);
    WriteFile(dir / "table.ga", "Generation 0\n1 48\n" + std::string(48, '0') + " 0.5\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--assess", "0"}, "--assess 0: must be a whole number from 1 to 1000 (start places per arena)"},
        {{"--assess", "1001"}, "--assess 1001: must be a whole number from 1 to 1000 (start places per arena)"},
        {{"--assess", "many"}, "--assess many: must be a whole number from 1 to 1000 (start places per arena)"},
        {{"--assess-length", "5"}, "--assess-length needs --assess N"},
        {{"--assess", "3", "--assess-length", "0"}, "--assess-length 0: must be a whole number from 1 to 100"},
        {{"--assess-arena", "open"}, "--assess-arena needs --assess N"},
        {{"--assess", "3", "--assess-arena", dir / "none"}, "--assess-arena " + dir / "none" + ": No such file or directory"},
        {{"--assess", "3", "--stats", dir / "s.csv", population},
            "--stats: the population files named are assessed, not evolved; leave it out"},
        {{"--assess", "3", dir / "table.ga"},
            dir / "table.ga" + ": chromosomes of 48 bits are no robot controller's (4 inputs, 4 outputs: 32 bits per AND term)"},
        {{"--assess", "3", "--assessment", population, population},
            "--assessment " + population + ": the batch reads or writes " + population + " too"},
        {{"--arena", "default", "--arena", "open", "--runs-per-individual", "1"},
            "--runs-per-individual 1 with 2 arenas: each arena needs a run of every individual"},
        {{"--stall-penalty", "101"}, "--stall-penalty 101: must be a number from 0 to 100 (percent of a stalled run's fitness)"},
        {{"--reevaluate", "0"}, "--reevaluate 0: must be a whole number from 1 to 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> arguments = {"--robot"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const BatchCall call = Call(arguments);
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.err, "orvik-batch: " + c.message + "\n");
        EXPECT_EQ(call.out, "");
    }
    const BatchCall table = Call({dir / "x.tbl", "--assess", "3"});
    EXPECT_EQ(table.err, "orvik-batch: --assess needs --robot\n");
}

// The figures of robot batches made before shared starts, re-evaluation, the
// stall penalty, several arenas and the assessment came: without them a
// batch's worlds, walks and draws must be exactly those of then.
TEST(BatchAssess, WithoutTheNewOptionsARobotBatchComputesWhatItComputedBefore)
{
    ScratchDir dir;
    const std::string rooms = dir / "two-rooms.arena";
    WriteFile(rooms, "floor 1200 800\nwall 0 -400 0 -60\nwall 0 60 0 400\nbox 300 150 450 300\n"
                     "cylinder -300 -200 40\nstart -300 150 0\n");
    struct Case {
        std::vector<std::string> arguments;
        const char* stats;
    };
    const Case cases[] = {
        {{"--population", "12", "--rank-parents", "5", "--runs", "2", "--generations", "3", "--noise", "10",
             "--runs-per-individual", "2", "--motor", "0,5,10,10", "--seed", "5"},
            "0,5,0,0.09942409227509136,0.04047816728247881,0\n"
            "0,5,1,0.4200391006842619,0.09192097535149013,0\n"
            "0,5,2,0.4121823069403715,0.148671494081147,0.05049176952752968\n"
            "0,5,3,0.4651515151515151,0.3352562413481772,0.05276149773734346\n"
            "1,6,0,0.2722976665636998,0.053571161797118766,0\n"
            "1,6,1,0.8829423264907135,0.2118510056128853,0\n"
            "1,6,2,0.8534701857282503,0.38616736406186747,0\n"
            "1,6,3,0.9118768328445748,0.5470089574013245,0.042416106776517686\n"},
        {{"--strategy", "es", "--evaluations", "30", "--arena", rooms, "--every", "2"},
            "0,1,0,0.475,0.370752688172043,0\n"
            "0,1,2,0.4711876832844575,0.4449364613880743,0.42534213098729223\n"
            "0,1,4,0.4516373411534701,0.4038318670576735,0.2557673509286412\n"
            "0,1,5,0.463782991202346,0.3849602493054671,0.2761730205278592\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--robot", "--run-length", "2", "--no-header", "--stats", dir / "s.csv"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const BatchCall call = Call(arguments);
        ASSERT_EQ(call.status, 0) << call.err;
        EXPECT_EQ(ReadFile(dir / "s.csv"), c.stats);
    }
}
