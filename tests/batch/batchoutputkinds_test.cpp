// Where orvik-batch's outputs may point, and that nothing is ever damaged:
// regular files replaced only when complete, links kept, planted links not
// followed, devices and pipes written in place, every bad path (a FIFO or a
// directory in the --save-best folder too) refused before the first run, full and read-only disks reported with the old files kept,
// a closed pipe ending the batch quietly.
#include "batchtestsupport.h"
#include "safeoutputfile.h"

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace batchtest;

namespace {

bool IsLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }
bool IsCharDevice(const std::string& path) { return fs::is_character_file(fs::symlink_status(path)); }

// A file system mounted for the test and unmounted with it; Mounted() is
// false where mounting is not permitted (not root, or in a container).
class TestMount {
public:
    TestMount(const std::string& path, const char* options)
        : path_(path)
    {
        fs::create_directories(path);
        mounted_ = ::mount("tmpfs", path.c_str(), "tmpfs", 0, options) == 0;
    }
    ~TestMount()
    {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }

private:
    std::string path_;
    bool mounted_ = false;
};

// Fills the file system of `folder` to the last byte.
void Fill(const std::string& folder)
{
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) { }
    while (::write(fd, block.data(), 1) > 0) { }
    ::close(fd);
}

// Runs the program with `arguments`; its standard output goes to
// `stdoutPath`, or, when it is empty, to a pipe without a reader.
int RunProgram(const std::vector<std::string>& arguments, const std::string& stdoutPath, std::string& err,
    const std::string& errPath)
{
    std::vector<std::string> all = {ORVIK_BATCH_PROGRAM};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    if (stdoutPath.empty()) {
        if (::pipe(pipeEnds) != 0)
            return -1;
        ::close(pipeEnds[0]); // the reader is gone before the first byte
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = stdoutPath.empty() ? pipeEnds[1] : ::open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(errFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (stdoutPath.empty())
        ::close(pipeEnds[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    err = ReadFile(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(BatchOutputKinds, EachKindOfPathIsWrittenWithoutDamage)
{
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
    WriteFile(table, XorTable());
    const std::string expected = dir / "expected.csv";
    ASSERT_EQ(Call({table, "--runs", "2", "--stats", expected}).status, 0);
    const std::string csv = ReadFile(expected);
    fs::create_directory(dir / "outdir");
    fs::create_directory(dir / "special");
    const TestMount full(dir / "full", "size=64k");
    const TestMount readOnly(dir / "ro", "ro,size=64k");

    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::function<void()> check;
        bool needsMount = false;
    };
    const Case cases[] = {
        {"a symlink writes its target and stays a link",
            [&] {
                WriteFile(dir / "target.csv", "old");
                fs::create_symlink("target.csv", dir / "sl.csv");
            },
            {"--stats", dir / "sl.csv"}, 0, "",
            [&] {
                EXPECT_TRUE(IsLink(dir / "sl.csv"));
                EXPECT_EQ(ReadFile(dir / "target.csv"), csv);
            }},
        {"a planted FILE.part link is not followed",
            [&] {
                WriteFile(dir / "precious.txt", "precious");
                fs::create_symlink("precious.txt", dir / "p.csv.part");
            },
            {"--stats", dir / "p.csv"}, 0, "",
            [&] {
                EXPECT_EQ(ReadFile(dir / "precious.txt"), "precious");
                EXPECT_EQ(ReadFile(dir / "p.csv"), csv);
            }},
        {"/dev/null stays a device", [] {}, {"--stats", "/dev/null", "--summary", "/dev/null"}, 0, "",
            [] { EXPECT_TRUE(IsCharDevice("/dev/null")); }},
        {"/dev/full reports the full disk", [] {}, {"--stats", "/dev/full"}, 1,
            "orvik-batch: cannot write /dev/full: No space left on device\n",
            [] { EXPECT_TRUE(IsCharDevice("/dev/full")); }},
        {"a directory is refused before any run", [] {}, {"--summary", dir / "outdir"}, 2,
            "orvik-batch: --summary " + dir / "outdir" + ": is a directory\n", [] {}},
        {"a path ending in a slash is a directory", [] {}, {"--stats", dir / "outdir/"}, 2,
            "orvik-batch: --stats " + dir / "outdir/" + ": is a directory\n", [] {}},
        {"a missing folder", [] {}, {"--summary", dir / "none/m.csv"}, 2,
            "orvik-batch: --summary " + dir / "none/m.csv" + ": No such file or directory\n", [] {}},
        {"a seed file that is a directory", [&] { fs::create_directories(dir / "saved/seed-2.ga"); },
            {"--save-best", dir / "saved"}, 2,
            "orvik-batch: --save-best " + dir / "saved" + ": seed-2.ga is a directory\n", [] {}},
        // A FIFO would block the run writing it: every seed's files are checked first.
        {"a FIFO as a seed's population", [&] { ::mkfifo((dir / "special/seed-1.ga").c_str(), 0600); },
            {"--save-best", dir / "special"}, 2,
            "orvik-batch: --save-best " + dir / "special" + ": seed-1.ga is not a regular file\n",
            [&] { fs::remove(dir / "special/seed-1.ga"); }},
        {"a FIFO as a seed's fuse map", [&] { ::mkfifo((dir / "special/seed-2.jed").c_str(), 0600); },
            {"--save-best", dir / "special", "--jedec", "GAL22V10"}, 2,
            "orvik-batch: --save-best " + dir / "special" + ": seed-2.jed is not a regular file\n",
            [&] { fs::remove(dir / "special/seed-2.jed"); }},
        {"a seed's fuse map that is a directory", [&] { fs::create_directories(dir / "special/seed-1.jed"); },
            {"--save-best", dir / "special", "--jedec", "GAL22V10"}, 2,
            "orvik-batch: --save-best " + dir / "special" + ": seed-1.jed is a directory\n", [] {}},
        {"a read-only file system", [] {}, {"--stats", dir / "ro/s.csv"}, 2,
            "orvik-batch: --stats " + dir / "ro/s.csv" + ": Read-only file system\n", [] {}, true},
        {"--save-best on a read-only file system", [] {}, {"--save-best", dir / "ro"}, 2,
            "orvik-batch: --save-best " + dir / "ro" + ": Read-only file system\n", [] {}, true},
        {"a full disk keeps the old populations and names each file",
            [&] {
                WriteFile(dir / "full/seed-1.ga", "old 1");
                WriteFile(dir / "full/seed-2.ga", "old 2");
                WriteFile(dir / "full/s.csv", "old stats");
                Fill(dir / "full");
            },
            {"--save-best", dir / "full", "--stats", dir / "full/s.csv"}, 1,
            "orvik-batch: cannot write " + dir / "full/s.csv" + ": No space left on device\n"
                + "orvik-batch: cannot write " + dir / "full/seed-1.ga" + ": No space left on device\n"
                + "orvik-batch: cannot write " + dir / "full/seed-2.ga" + ": No space left on device\n",
            [&] {
                EXPECT_EQ(ReadFile(dir / "full/seed-1.ga"), "old 1");
                EXPECT_EQ(ReadFile(dir / "full/seed-2.ga"), "old 2");
                EXPECT_EQ(ReadFile(dir / "full/s.csv"), "old stats");
                std::vector<std::string> names;
                for (const auto& entry : fs::directory_iterator(dir / "full"))
                    names.push_back(entry.path().filename().string());
                std::sort(names.begin(), names.end());
                EXPECT_EQ(names, (std::vector<std::string> {"filler", "s.csv", "seed-1.ga", "seed-2.ga"}));
            },
            true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsMount && !full.Mounted()) {
            std::printf("skipped \"%s\": mounting a tmpfs is not permitted here\n", c.what);
            continue;
        }
        c.prepare();
        std::vector<std::string> arguments = {table, "--runs", "2"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const BatchCall call = Call(arguments);
        EXPECT_EQ(call.status, c.status);
        // The errors follow the progress lines.
        const std::size_t at = call.err.find("orvik-batch: ");
        EXPECT_EQ(at == std::string::npos ? "" : call.err.substr(at), c.err);
        c.check();
    }
    // A FIFO put there once the runs began is not opened either.
    ASSERT_EQ(::mkfifo((dir / "special/late.ga").c_str(), 0600), 0);
    EXPECT_EQ(WriteWholeFile(dir / "special/late.ga", "x"), "not a regular file");
    // No temporary file is left anywhere.
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    EXPECT_EQ(dir.Entries(), (std::vector<std::string> {"expected.csv", "full", "outdir", "p.csv", "p.csv.part",
                                 "precious.txt", "ro", "saved", "sl.csv", "special", "target.csv", "xor.tbl"}));
}

TEST(BatchOutputKinds, StandardOutputIsWrittenInPlaceAndAClosedPipeEndsQuietly)
{
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
    WriteFile(table, XorTable());
    std::string err;

    // Redirected to a file: the statistics go into that very file, before the summary.
    ASSERT_EQ(RunProgram({table, "--stats", "/dev/stdout"}, dir / "out.txt", err, dir / "err"), 0) << err;
    const std::string out = ReadFile(dir / "out.txt");
    EXPECT_EQ(out.rfind("run,seed,generation,max,average,min\n0,1,0,", 0), 0u) << out;
    EXPECT_NE(out.find("1 run of " + table), std::string::npos) << out;

    // A pipe whose reader has gone: no complaint, the other files complete.
    const int status = RunProgram({table, "--runs", "3", "--stats", "/dev/stdout", "--summary", dir / "m.csv"}, "",
        err, dir / "err");
    EXPECT_EQ(status, 141);
    EXPECT_EQ(err.find("cannot write"), std::string::npos) << err;
    EXPECT_EQ(Lines(ReadFile(dir / "m.csv")).size(), 4u);
}

// A run that runs out of memory (a million individuals of 800 bits, under a
// limit of 400 MB) is named with its own exit status, not as a file that
// could not be written; the other runs stop and the files are completed.
TEST(BatchOutputKinds, OutOfMemoryHasItsOwnStatusAndTheFilesAreCompleted)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under the limit";
#endif
    ScratchDir dir;
    std::string table = "10 1\n";
    for (int row = 0; row < 1024; ++row)
        table += "1\n";
    WriteFile(dir / "wide.tbl", table);
    const std::string command = "ulimit -v 400000 && exec " ORVIK_BATCH_PROGRAM " " + dir / "wide.tbl"
        + " --terms 40 --population 1000000 --runs 2 --jobs 1 --summary " + dir / "m.csv" + " 2>" + dir / "err"
        + " >/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    const std::string err = ReadFile(dir / "err");
    EXPECT_NE(err.find("\norvik-batch: run 0 (seed 1): out of memory\n"), std::string::npos) << err;
    const std::vector<std::string> summary = Lines(ReadFile(dir / "m.csv"));
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[1], "0,1,,,0,,0");
}
