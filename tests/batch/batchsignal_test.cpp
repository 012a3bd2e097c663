// Ctrl+C: the program, sent SIGINT while its runs are under way, finishes the
// current generation of every run and still writes complete files that mark
// the unfinished runs.
#include "batchtestsupport.h"
#include "ga.h"

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace batchtest;

namespace {
// User plus system time of a process, in clock ticks, from /proc/PID/stat.
long CpuTicks(pid_t pid)
{
    const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos)
        return 0;
    std::istringstream fields(stat.substr(afterName + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return utime + stime;
}

// Starts `arguments` (the program first) with standard output and error in
// the given files.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& out, const std::string& err)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        std::freopen(out.c_str(), "w", stdout);
        std::freopen(err.c_str(), "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Waits until the runs are well under way: the program has used a fifth of
// a second of processor time (however loaded the machine is).
void WaitUntilBusy(pid_t child)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (CpuTicks(child) < 20 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// Waits until `path` holds `text` (for at most a minute).
void WaitForText(const std::string& path, const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ReadFile(path).find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
} // namespace

TEST(BatchSignal, SigintLeavesCompleteParseableFiles)
{
    ScratchDir dir;
    WriteFile(dir / "xor.tbl", XorTable());
    // One AND term cannot reach the maximum and no generation limit is set:
    // only the interrupt ends these runs.
    const std::vector<std::string> arguments = {ORVIK_BATCH_PROGRAM, dir / "xor.tbl", "--terms", "1",
        "--generations", "unlimited", "--runs", "5", "--jobs", "2", "--stats", dir / "s.csv", "--summary",
        dir / "m.csv", "--save-best", dir / "saved"};
    const pid_t child = Spawn(arguments, dir / "stdout", dir / "stderr");
    ASSERT_GE(child, 0);
    WaitUntilBusy(child);
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 130) << ReadFile(dir / "stderr");

    // The summary: one row per run, none finished; runs that began have a
    // generation count, a best fitness and a saved population of that generation.
    const std::vector<std::string> summary = Lines(ReadFile(dir / "m.csv"));
    ASSERT_EQ(summary.size(), 6u);
    EXPECT_EQ(summary[0], "run,seed,generations,best,reached_max,seconds,finished");
    const std::vector<std::string> stats = Lines(ReadFile(dir / "s.csv"));
    std::size_t begun = 0;
    for (uint32_t run = 0; run < 5; ++run) {
        SCOPED_TRACE(summary[run + 1]);
        const std::vector<std::string> fields = Fields(summary[run + 1]);
        ASSERT_EQ(fields.size(), 7u);
        EXPECT_EQ(fields[0], std::to_string(run));
        EXPECT_EQ(fields[4], "0");
        EXPECT_EQ(fields[6], "0");
        if (fields[2].empty())
            continue;
        ++begun;
        GA saved(1, 1);
        const int32_t generation = std::stoi(fields[2]);
        EXPECT_TRUE(saved.LoadGeneration(dir / ("saved/seed-" + fields[1] + ".ga"), generation));
        // The run's statistics rows end at that generation.
        std::string lastRow;
        for (const std::string& row : stats)
            if (row.rfind(fields[0] + ",", 0) == 0)
                lastRow = row;
        EXPECT_EQ(Fields(lastRow).at(2), fields[2]);
    }
    EXPECT_GE(begun, 1u);
    // The statistics: the header and whole rows of six fields.
    ASSERT_FALSE(stats.empty());
    EXPECT_EQ(stats[0], "run,seed,generation,max,average,min");
    for (std::size_t r = 1; r < stats.size(); ++r)
        EXPECT_EQ(Fields(stats[r]).size(), 6u) << stats[r];
    EXPECT_NE(ReadFile(dir / "stdout").find("interrupted: "), std::string::npos);
    EXPECT_NE(ReadFile(dir / "stderr").find("stopping after the current generation"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "s.csv.part"));
}

TEST(BatchSignal, ASecondSigintQuitsAtOnceLeavingNoFiles)
{
    ScratchDir dir;
    ScratchDir logs;
    WriteFile(dir / "xor.tbl", XorTable());
    const std::vector<std::string> arguments = {ORVIK_BATCH_PROGRAM, dir / "xor.tbl", "--terms", "1",
        "--generations", "unlimited", "--runs", "4", "--jobs", "2", "--stats", dir / "s.csv", "--summary",
        dir / "m.csv", "--save-best", dir / "saved"};
    const pid_t child = Spawn(arguments, "/dev/null", logs / "stderr");
    ASSERT_GE(child, 0);
    WaitUntilBusy(child);
    kill(child, SIGINT);
    WaitForText(logs / "stderr", "stopping"); // the second once the first has been seen
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    // Neither the unfinished files nor their temporary files are left; a
    // population saved between the two signals is complete.
    EXPECT_EQ(dir.Entries(), (std::vector<std::string> {"saved", "xor.tbl"}));
    for (const std::string& name : dir.Entries("saved")) {
        EXPECT_EQ(name.rfind("seed-", 0), 0u) << name;
        EXPECT_TRUE(GA::ReadGenerationList(dir / ("saved/" + name))) << name;
    }
}

// SIGTERM sent twice in a row, as GNU timeout sends it (to the program, then
// to its process group), is one orderly stop: every file is written. Long
// generations (robot runs of 100 s) keep the program busy when the second
// signal comes.
TEST(BatchSignal, ASigtermRepeatedSoonIsOneOrderlyStop)
{
    struct Case {
        const char* what;
        bool throughTimeout; // else the test sends both signals
    };
    for (const Case& c : {Case {"two SIGTERMs", false}, Case {"GNU timeout", true}}) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::vector<std::string> arguments = {ORVIK_BATCH_PROGRAM, "--robot", "--run-length", "100", "--population",
            "50", "--generations", "1000000", "--runs", "2", "--jobs", "2", "--stats", dir / "s.csv", "--summary",
            dir / "m.csv", "--save-best", dir / "saved"};
        if (c.throughTimeout)
            arguments.insert(arguments.begin(), {"/usr/bin/timeout", "--preserve-status", "2"});
        const pid_t child = Spawn(arguments, dir / "stdout", dir / "stderr");
        ASSERT_GE(child, 0);
        if (!c.throughTimeout) {
            WaitUntilBusy(child);
            kill(child, SIGTERM);
            WaitForText(dir / "stderr", "stopping");
            kill(child, SIGTERM);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 143) << ReadFile(dir / "stderr");
        EXPECT_EQ(Lines(ReadFile(dir / "m.csv")).size(), 3u);
        EXPECT_EQ(Lines(ReadFile(dir / "s.csv")).at(0), "run,seed,generation,max,average,min");
        EXPECT_EQ(dir.Entries("saved"), (std::vector<std::string> {"seed-1.ga", "seed-2.ga"}));
    }
}
