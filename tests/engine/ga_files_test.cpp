// Population files: the exact format, save -> list -> load round trips, the
// specified log lines, and the refusal of files that cannot be loaded.
#include "ga_test_support.h"
#include "populationinput.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
class GAFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("orvik_ga_files_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << text;
        return PathOf(name);
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path dir_;
};

// N = 2, L = 4, individuals 0110 (12) and 1011 (-0.5).
GA SmallGA()
{
    GA ga(2, 4);
    SetBits(ga.At(0), "0110");
    ga.At(0).SetFitness(12.0);
    SetBits(ga.At(1), "1011");
    ga.At(1).SetFitness(-0.5);
    return ga;
}

// A GA with some evolution behind it, so that a refused load has a
// history, a counter and a flag to keep.
GA EvolvedGA()
{
    GA ga(3, 6);
    for (int round = 0; round < 2; ++round) {
        for (uint32_t i = 0; i < 3; ++i)
            ga.At(i).SetFitness(round * 3 + i);
        ga.RecordGeneration();
        ga.NextGeneration();
    }
    return ga;
}

const std::string threeBlocks = "Generation 0\n2 4\n0110 12.000000\n1011 -0.500000\n"
                                "Generation 1\n3 2\n01 1.000000\n10 2.000000\n11 3.000000\n"
                                "Generation 2\n2 4\n1111 7.250000\n0001 0.125000\n";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}
} // namespace

TEST_F(GAFiles, SaveAppendsOneBlockInTheExactFormat)
{
    GA ga = SmallGA();
    for (int k = 0; k < 3; ++k)
        ga.NextGeneration();
    SetBits(ga.At(0), "0110");
    ga.At(0).SetFitness(12.0);
    SetBits(ga.At(1), "1011");
    ga.At(1).SetFitness(-0.5);
    ga.At(1)[0] = 5; // any non-zero cell is a 1

    const std::string path = PathOf("example.ga");
    LogRecorder log;
    ASSERT_TRUE(ga.SaveGeneration(path).ok);
    EXPECT_EQ(Read(path), "Generation 3\n2 4\n0110 12.000000\n1011 -0.500000\n");
    EXPECT_EQ(log.text, ""); // nothing is printed on success
}

TEST_F(GAFiles, SavingTwiceWithAStepBetweenGivesConsecutiveHeaders)
{
    GA ga = SmallGA();
    const std::string path = Write("keep.ga", "text that was there before\n");
    ASSERT_TRUE(ga.SaveGeneration(path).ok);
    const std::string afterFirst = Read(path);
    ga.NextGeneration();
    ASSERT_TRUE(ga.SaveGeneration(path).ok);
    const std::string text = Read(path);
    EXPECT_EQ(text.substr(0, afterFirst.size()), afterFirst);
    EXPECT_EQ(afterFirst.rfind("text that was there before\nGeneration 0\n", 0), 0u);
    EXPECT_NE(text.find("\nGeneration 1\n2 4\n", afterFirst.size() - 1), std::string::npos);
}

TEST_F(GAFiles, SaveListLoadRoundTripOfThreeBlocks)
{
    const std::string path = PathOf("three.ga");
    GA saved(5, 12);
    std::vector<std::vector<std::string>> bits;
    for (int round = 0; round < 3; ++round) {
        for (uint32_t i = 0; i < 5; ++i)
            saved.At(i).SetFitness(round * 10 + i * 0.25);
        saved.RecordGeneration();
        ASSERT_TRUE(saved.SaveGeneration(path).ok);
        bits.emplace_back();
        for (uint32_t i = 0; i < 5; ++i)
            bits.back().push_back(Bits(saved.At(i)));
        saved.NextGeneration();
    }

    const GAGenerationList list = GA::ReadGenerationList(path);
    ASSERT_TRUE(list.ok) << list.message;
    ASSERT_EQ(list.records.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(list.records[k].generation, static_cast<int32_t>(k));
        EXPECT_EQ(list.records[k].values, saved.History()[k].values);
    }

    GA loaded(100, 48);
    loaded.SetRankParents(15);
    const GAFileResult result = loaded.LoadGeneration(path, 2);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(loaded.GetGeneration(), 2);
    EXPECT_EQ(loaded.GetPopulationSize(), 5u);
    EXPECT_EQ(loaded.GetChromosomeLength(), 12u);
    EXPECT_TRUE(loaded.IsEvaluated());
    EXPECT_EQ(loaded.GetRankParents(), 15u);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Bits(loaded.At(i)), bits[2][i]);
        EXPECT_EQ(loaded.At(i).GetFitness(), 20 + i * 0.25);
    }
    ASSERT_EQ(loaded.History().size(), 3u);
    const std::vector<GAFitInfo> info = loaded.GetFitInfo();
    ASSERT_EQ(info.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(info[k].generation, static_cast<int32_t>(k));
        EXPECT_EQ(info[k].max, k * 10 + 1.0);
    }

    // The loaded population saves to the same block again.
    const std::string again = PathOf("again.ga");
    ASSERT_TRUE(loaded.SaveGeneration(again).ok);
    const std::string text = Read(path);
    EXPECT_EQ(Read(again), text.substr(text.find("Generation 2")));
}

TEST_F(GAFiles, DuplicateNumbersListTwiceAndLoadTheFirst)
{
    const std::string path = Write("dup.ga", "Generation 5\n1 3\n101 1.000000\n"
                                             "Generation 5\n1 3\n010 2.000000\n");
    const GAGenerationList list = GA::ReadGenerationList(path);
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].generation, 5);
    EXPECT_EQ(list.records[1].generation, 5);
    GA ga(2, 2);
    ASSERT_TRUE(ga.LoadGeneration(path, 5).ok);
    EXPECT_EQ(Bits(ga.At(0)), "101");
    EXPECT_EQ(ga.At(0).GetFitness(), 1.0);
    EXPECT_EQ(ga.History().size(), 1u);
}

TEST_F(GAFiles, LineEndingsSpacingAndTrailingTextReadAlike)
{
    const struct {
        const char* name;
        std::string text;
    } rows[] = {
        {"LF", threeBlocks},
        {"CR LF", WithCrLf(threeBlocks)},
        {"trailing text", threeBlocks + "end of the run, saved by hand\n"},
        {"trailing header word", threeBlocks + "Generation\n"},
        {"no final newline", threeBlocks.substr(0, threeBlocks.size() - 1)},
        {"extra blank lines and spaces", "\n\nGeneration   0 \n 2   4\n\n0110  12.000000 \n1011\t-0.500000\n"
                                         "Generation 1\n3 2\n01 1.000000\n10 2.000000\n11 3.000000\n"
                                         "Generation 2\n2 4\n1111 7.250000\n0001 0.125000\n\n\n"},
        {"byte-order mark", "\xEF\xBB\xBF" + threeBlocks},
    };
    for (const auto& row : rows) {
        const std::string path = Write("ending.ga", row.text);
        const GAGenerationList list = GA::ReadGenerationList(path);
        ASSERT_TRUE(list.ok) << row.name << ": " << list.message;
        ASSERT_EQ(list.records.size(), 3u) << row.name;
        EXPECT_EQ(list.records[1].values, (std::vector<double>{1, 2, 3})) << row.name;
        GA ga(4, 4);
        const GAFileResult result = ga.LoadGeneration(path, 2);
        ASSERT_TRUE(result.ok) << row.name << ": " << result.message;
        EXPECT_EQ(Bits(ga.At(0)), "1111") << row.name;
        EXPECT_EQ(Bits(ga.At(1)), "0001") << row.name;
        EXPECT_EQ(ga.At(1).GetFitness(), 0.125) << row.name;
        EXPECT_EQ(ga.History().size(), 3u) << row.name;
    }
}

TEST_F(GAFiles, StrayBitCharactersReadAsZero)
{
    GA ga(1, 1);
    ASSERT_TRUE(ga.LoadGenerationFromText("Generation 0\n2 4\n01x1 1.0\n1?2- 2.0\n", 0).ok);
    EXPECT_EQ(Bits(ga.At(0)), "0101");
    EXPECT_EQ(Bits(ga.At(1)), "1000");
}

TEST_F(GAFiles, SpecialFitnessValuesRoundTrip)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {inf, -inf, std::numeric_limits<double>::quiet_NaN(), 1e300, -0.0000004, 123456.5};
    GA ga(6, 3);
    for (uint32_t i = 0; i < 6; ++i)
        ga.At(i).SetFitness(values[i]);
    const std::string block = ga.GenerationBlock();
    EXPECT_NE(block.find(" inf\n"), std::string::npos);
    EXPECT_NE(block.find(" -inf\n"), std::string::npos);
    EXPECT_NE(block.find(" -0.000000\n"), std::string::npos);
    EXPECT_NE(block.find(" 123456.500000\n"), std::string::npos);
    GA loaded(1, 1);
    ASSERT_TRUE(loaded.LoadGenerationFromText(block, 0).ok);
    EXPECT_EQ(loaded.At(0).GetFitness(), inf);
    EXPECT_EQ(loaded.At(1).GetFitness(), -inf);
    EXPECT_TRUE(std::isnan(loaded.At(2).GetFitness()));
    EXPECT_EQ(loaded.At(3).GetFitness(), 1e300);
    EXPECT_EQ(loaded.At(5).GetFitness(), 123456.5);
}

TEST_F(GAFiles, LoadWritesTheSpecifiedLogLines)
{
    GA ga(1, 1);
    LogRecorder log;
    ASSERT_TRUE(ga.LoadGeneration(Write("log.ga", threeBlocks), 2).ok);
    EXPECT_EQ(log.text, "Seeking: 0\rSeeking: 1\rSeeking: 2\r\n000->07.25 \t001->00.12 \tLoading done\n");
}

TEST_F(GAFiles, RefusedLoadsChangeNothingAndSayWhy)
{
    const struct {
        const char* name;
        std::string text;
        int32_t generation;
        const char* reason;    // part of the message
        bool listOk;           // whether ReadGenerationList accepts the file
    } rows[] = {
        {"absurd sizes in a 40-byte file", "Generation 0\n4000000000 4000000000\n0 1\n", 0, "cannot fit", false},
        {"sizes beyond 32 bits", "Generation 0\n4294967296 1\n1 1.0\n", 0, "population size", false},
        {"no such generation", threeBlocks, 7, "no block of generation 7", true},
        {"empty file", "", 0, "no block of generation 0", true},
        {"only trailing text", "hello\n", 0, "no block of generation 0", true},
        {"header only", "Generation 3\n", 3, "population size", false},
        {"sizes not numbers", "Generation 0\nfour four\n", 0, "population size", false},
        {"zero individuals", "Generation 0\n0 4\n", 0, "at least 1", false},
        {"zero bits", "Generation 0\n2 0\n 1.0\n 2.0\n", 0, "at least 1", false},
        {"fewer individuals than promised", "Generation 0\n3 4\n0110 1.0\n1011 2.0\n", 0, "ends inside the bits", false},
        {"cut inside the bits", "Generation 0\n2 4\n0110 1.0\n10", 0, "ends inside the bits", false},
        {"cut before a fitness", "Generation 0\n2 4\n0110 1.0\n1011", 0, "ends before the fitness", false},
        {"missing fitness", "Generation 0\n1 4\n0110\n", 0, "missing or not a number", false},
        {"fitness not a number", "Generation 0\n1 4\n0110 abc\n", 0, "missing or not a number", false},
        {"fitness with a decimal comma", "Generation 0\n1 4\n0110 1,5\n", 0, "not a number", false},
        {"fitness out of range", "Generation 0\n1 4\n0110 1e999\n", 0, "out of range", false},
        {"line shorter than L", "Generation 0\n2 4\n011 1.0\n1011 2.0\n", 0, "fewer than 4 bits", false},
        {"line longer than L", "Generation 0\n1 3\n0110 1.0\n", 0, "more than 3 bits", false},
        {"generation number out of range", "Generation 99999999999\n1 1\n1 1.0\n", 0, "out of range", false},
        {"malformed block before the wanted one",
         "Generation 0\n1 4\n01 1.0\nGeneration 1\n1 4\n0110 2.0\n", 1, "fewer than 4 bits", false},
        {"malformed wanted block after good ones", "Generation 0\n1 2\n01 1.0\nGeneration 1\n2 2\n01 1.0\n", 1,
         "ends inside the bits", false},
    };
    for (const auto& row : rows) {
        GA ga = EvolvedGA();
        const GASnapshot before(ga);
        const std::string path = Write("bad.ga", row.text);
        const GAFileResult result = ga.LoadGeneration(path, row.generation);
        EXPECT_FALSE(result.ok) << row.name;
        EXPECT_NE(result.message.find(row.reason), std::string::npos) << row.name << ": " << result.message;
        EXPECT_NE(result.message.find(path), std::string::npos) << row.name << ": " << result.message;
        EXPECT_TRUE(GASnapshot(ga) == before) << row.name;

        const GAGenerationList list = GA::ReadGenerationList(path);
        EXPECT_EQ(list.ok, row.listOk) << row.name << ": " << list.message;
        if (!row.listOk) {
            EXPECT_NE(list.message.find(row.reason), std::string::npos) << row.name << ": " << list.message;
        }
    }
}

TEST_F(GAFiles, ListKeepsTheCompleteBlocksBeforeAFault)
{
    const GAGenerationList list =
        GA::ReadGenerationListFromText("Generation 4\n1 2\n01 1.0\nGeneration 6\n1 2\n0 1.0\n");
    EXPECT_FALSE(list.ok);
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(list.records[0].generation, 4);
}

TEST_F(GAFiles, MissingFilesAreReportedAndLogged)
{
    const std::string path = PathOf("missing.ga");
    GA ga = EvolvedGA();
    const GASnapshot before(ga);
    LogRecorder log;
    const GAFileResult load = ga.LoadGeneration(path, 0);
    EXPECT_FALSE(load.ok);
    EXPECT_NE(load.message.find("Can't open"), std::string::npos) << load.message;
    EXPECT_TRUE(GASnapshot(ga) == before);
    EXPECT_EQ(log.text, "Can't open '" + path + "'\n");

    log.text.clear();
    const GAGenerationList list = GA::ReadGenerationList(path);
    EXPECT_FALSE(list.ok);
    EXPECT_TRUE(list.records.empty());
    EXPECT_FALSE(list.message.empty());
    EXPECT_EQ(log.text, "Cannot open test.ga\n");
}

TEST_F(GAFiles, SaveGivesUpAfterThreeFailedOpens)
{
    const std::string path = PathOf("no_such_folder/out.ga");
    GA ga = SmallGA();
    LogRecorder log;
    const GAFileResult result = ga.SaveGeneration(path);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
    const std::string line = "Can't open file " + path + "\n";
    EXPECT_EQ(log.text, line + line + line);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(GAFiles, AFailedWriteLeavesNoHalfBlock)
{
    // A file-size limit just above the file's current length makes the
    // append fail part way, as a full disk would.
    const std::string previous = "Generation 0\n1 1\n1 1.000000\n";
    const std::string path = Write("limited.ga", previous);
    GA ga(50, 200);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = previous.size() + 100;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const GAFileResult result = ga.SaveGeneration(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("not saved"), std::string::npos) << result.message;
    EXPECT_EQ(Read(path), previous);
}

TEST_F(GAFiles, GenerationCounterOfALoadedFileKeepsCountingPastTheTop)
{
    GA ga(1, 1);
    ga.SetElitism(0);
    ASSERT_TRUE(ga.LoadGenerationFromText("Generation 2147483647\n1 2\n01 1.0\n", 2147483647).ok);
    ga.NextGeneration();
    EXPECT_EQ(ga.GetGeneration(), -2147483647 - 1);
    // Saved signed, read back the same.
    EXPECT_EQ(ga.GenerationBlock().rfind("Generation -2147483648\n", 0), 0u);
    GA again(1, 1);
    EXPECT_TRUE(again.LoadGenerationFromText(ga.GenerationBlock(), -2147483647 - 1).ok);
}

TEST_F(GAFiles, LoadingASmallerPopulationKeepsTheStepInsideIt)
{
    GA ga(100, 48);
    ga.SetSelection(1);
    ga.SetRankParents(15);
    ga.SetElitism(1);
    ASSERT_TRUE(ga.LoadGenerationFromText("Generation 4\n1 4\n0110 3.0\n", 4).ok);
    EXPECT_EQ(ga.GetRankParents(), 15u); // the load keeps the parameters
    LogRecorder log;
    ga.NextGeneration();
    EXPECT_EQ(ga.GetGeneration(), 5);
    EXPECT_EQ(ga.GetPopulationSize(), 1u);
    EXPECT_NE(log.text.find("Rank parents clamped from 15 to 1\n"), std::string::npos) << log.text;
    EXPECT_NE(log.text.find("Elitism clamped from 1 to 0\n"), std::string::npos) << log.text;
}

TEST_F(GAFiles, DecimalCommaLocaleChangesNeitherWritingNorReading)
{
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                                "nl_NL.UTF-8", "it_IT.UTF-8", "es_ES.UTF-8", "ru_RU.UTF-8", "pt_BR.UTF-8"};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",") {
            chosen = name;
            break;
        }
    }
    if (!chosen) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed (generate one, e.g. de_DE.UTF-8, "
                        "with the locales package to run this test)";
    }
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale " << chosen << " is not in effect";

    GA ga = SmallGA();
    ga.At(0).SetFitness(12.5);
    ga.At(1).SetFitness(-0.25);
    const std::string path = PathOf("comma.ga");
    const GAFileResult saved = ga.SaveGeneration(path);
    const std::string text = Read(path);
    const GAGenerationList list = GA::ReadGenerationList(path);
    GA loaded(3, 3);
    const GAFileResult load = loaded.LoadGeneration(path, 0);
    std::setlocale(LC_ALL, previous.c_str());

    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(text, "Generation 0\n2 4\n0110 12.500000\n1011 -0.250000\n");
    ASSERT_TRUE(list.ok) << list.message;
    EXPECT_EQ(list.records[0].values, (std::vector<double>{12.5, -0.25}));
    ASSERT_TRUE(load.ok) << load.message;
    EXPECT_EQ(loaded.At(0).GetFitness(), 12.5);
    EXPECT_EQ(loaded.At(1).GetFitness(), -0.25);
}

namespace {
// Good and malformed texts, for comparing file reads with text reads.
const std::string readingCases[] = {
    threeBlocks,
    WithCrLf(threeBlocks),
    "\xEF\xBB\xBF" + threeBlocks + "trailing text\n",
    "\n\n  Generation   -3 \n 2   4\n\n0110  +12.5 \n1011\t-0.500000\nGeneration 5\n1 3\n101 1.0\n"
    "Generation 5\n1 3\n010 2.0",
    threeBlocks + "Generation 3\n2 4\n0110 1.0\n10",
    threeBlocks + "Generation 3\n2 4\n0110 1.0\n1011",
    threeBlocks + "Generation 3\n2 4\n011 1.0\n1011 2.0\n",
    threeBlocks + "Generation 3\n1 3\n0110 1.0\n",
    threeBlocks + "Generation 3\n1 4\n0110 1,5\n",
    threeBlocks + "Generation 3\n1 4\n0110 1e999\n",
    threeBlocks + "Generation 99999999999\n1 1\n1 1.0\n",
    threeBlocks + "Generation 3\n4000000000 4000000000\n0 1\n",
    threeBlocks + "Generation 3\n18446744073709551616 1\n",
};

// Sets the chunk size of file reads while it lives.
struct ChunkBytes {
    explicit ChunkBytes(std::size_t bytes) { PopulationInput::SetChunkBytesForTests(bytes); }
    ~ChunkBytes() { PopulationInput::SetChunkBytesForTests(0); }
    ChunkBytes(const ChunkBytes&) = delete;
    ChunkBytes& operator=(const ChunkBytes&) = delete;
};

void ExpectSameList(const GAGenerationList& a, const GAGenerationList& b)
{
    EXPECT_EQ(a.ok, b.ok);
    EXPECT_EQ(a.message, b.message);
    ASSERT_EQ(a.records.size(), b.records.size());
    ASSERT_EQ(a.places.size(), a.records.size());
    ASSERT_EQ(b.places.size(), b.records.size());
    for (std::size_t k = 0; k < a.records.size(); ++k) {
        EXPECT_EQ(a.records[k].generation, b.records[k].generation) << k;
        EXPECT_EQ(a.records[k].values, b.records[k].values) << k;
        EXPECT_EQ(a.places[k].offset, b.places[k].offset) << k;
        EXPECT_EQ(a.places[k].size, b.places[k].size) << k;
        EXPECT_EQ(a.places[k].length, b.places[k].length) << k;
    }
}
} // namespace

// A file is read a chunk at a time; wherever the chunk boundaries fall, it
// lists and loads exactly as the same text held whole in memory.
TEST_F(GAFiles, FilesReadAlikeWhateverTheChunkSize)
{
    const GA base = EvolvedGA();
    for (const std::string& text : readingCases) {
        const std::string path = Write("chunks.ga", text);
        const std::string prefix = "'" + path + "': ";
        GAGenerationList fromText = GA::ReadGenerationListFromText(text);
        if (!fromText.ok)
            fromText.message = prefix + fromText.message;
        std::vector<int32_t> generations{7};
        for (const GAData& record : fromText.records)
            generations.push_back(record.generation);

        for (std::size_t chunk : {1, 2, 3, 7, 64, 0}) {
            SCOPED_TRACE(text.substr(text.size() > 30 ? text.size() - 30 : 0) + " / chunk " + std::to_string(chunk));
            const ChunkBytes bytes(chunk);
            ExpectSameList(GA::ReadGenerationList(path), fromText);
            for (int32_t g : generations) {
                GA fromFile = base;
                GA fromMemory = base;
                const GAFileResult a = fromFile.LoadGeneration(path, g);
                GAFileResult b = fromMemory.LoadGenerationFromText(text, g);
                if (!b.ok)
                    b.message = prefix + b.message;
                EXPECT_EQ(a.ok, b.ok) << g;
                EXPECT_EQ(a.message, b.message) << g;
                EXPECT_TRUE(GASnapshot(fromFile) == GASnapshot(fromMemory)) << g;
            }
        }
    }
}

TEST_F(GAFiles, AListedBlockLoadsFromItsPlace)
{
    const std::string text = "Generation 5\n1 3\n101 1.000000\n" + threeBlocks + "Generation 5\n1 3\n010 2.000000\n";
    const std::string path = Write("places.ga", text);
    const GAGenerationList list = GA::ReadGenerationList(path);
    ASSERT_TRUE(list.ok) << list.message;
    ASSERT_EQ(list.places.size(), 5u);
    const uint32_t sizes[5][2] = {{1, 3}, {2, 4}, {3, 2}, {2, 4}, {1, 3}};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(text.compare(list.places[k].offset, 11, "Generation "), 0) << k;
        EXPECT_EQ(list.places[k].size, sizes[k][0]) << k;
        EXPECT_EQ(list.places[k].length, sizes[k][1]) << k;
    }

    // Each block of a distinct number loads as LoadGeneration loads it.
    for (std::size_t k = 1; k < 4; ++k) {
        GA listed = EvolvedGA();
        GA streamed = EvolvedGA();
        LogRecorder log;
        ASSERT_TRUE(listed.LoadListedGeneration(path, list, k).ok) << k;
        const std::string listedLog = log.text;
        log.text.clear();
        ASSERT_TRUE(streamed.LoadGeneration(path, list.records[k].generation).ok) << k;
        EXPECT_EQ(listedLog, log.text) << k;
        EXPECT_TRUE(GASnapshot(listed) == GASnapshot(streamed)) << k;
    }
    // A later block of a repeated number is the block at that place.
    GA ga = EvolvedGA();
    ASSERT_TRUE(ga.LoadListedGeneration(path, list, 4).ok);
    EXPECT_EQ(Bits(ga.At(0)), "010");
    EXPECT_EQ(ga.GetGeneration(), 5);
    EXPECT_EQ(ga.History().size(), 5u);
}

TEST_F(GAFiles, AListedBlockThatIsNoLongerThereIsRefused)
{
    const std::string path = Write("changed.ga", threeBlocks);
    const GAGenerationList list = GA::ReadGenerationList(path);
    ASSERT_EQ(list.records.size(), 3u);
    const std::string others[] = {
        "Generation 0\n2 4\n0110 12.000000\n1011 -0.500000\n",           // cut before the block
        "Generation 9\n2 4\n0110 1.0\n1011 2.0\n" + threeBlocks,         // everything moved
        threeBlocks.substr(0, list.places[2].offset) + "Generation 2\n1 8\n01100110 7.0\n", // other sizes
        threeBlocks.substr(0, threeBlocks.size() - 16),                  // cut inside the block
    };
    for (const std::string& other : others) {
        Write("changed.ga", other);
        GA ga = EvolvedGA();
        const GASnapshot before(ga);
        const GAFileResult result = ga.LoadListedGeneration(path, list, 2);
        EXPECT_FALSE(result.ok) << other;
        EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
        EXPECT_TRUE(GASnapshot(ga) == before) << other;
    }
}

TEST_F(GAFiles, ADamagedLastBlockLeavesTheBlocksBeforeItLoadable)
{
    const std::string path = Write("damaged.ga", threeBlocks + "Generation 3\n2 4\n0110 1.0\n10");
    const GAGenerationList list = GA::ReadGenerationList(path);
    EXPECT_FALSE(list.ok);
    EXPECT_NE(list.message.find("block \"Generation 3\""), std::string::npos) << list.message;
    ASSERT_EQ(list.records.size(), 3u);
    ASSERT_EQ(list.places.size(), 3u);
    GA ga(1, 1);
    ASSERT_TRUE(ga.LoadListedGeneration(path, list, 2).ok);
    EXPECT_EQ(Bits(ga.At(0)), "1111");
    ASSERT_TRUE(ga.LoadGeneration(path, 1).ok);
    EXPECT_EQ(ga.GetPopulationSize(), 3u);
}

// Saving never refuses to grow a file, so reading must not refuse a big one.
// The file is sparse: a block of one individual of 1.1 billion bits (a hole
// the file system reads as NUL characters, which are clear bits), then a
// small block past the first GiB.
TEST_F(GAFiles, FilesLargerThanOneGibibyteAreRead)
{
    const std::string path = PathOf("large.ga");
    const uint64_t bits = 1'100'000'000;
    const std::string header = "Generation 0\n1 " + std::to_string(bits) + "\n";
    {
        std::ofstream out(path, std::ios::binary);
        out << header;
        out.seekp(static_cast<std::streamoff>(header.size() + bits));
        out << " 1.000000\nGeneration 1\n1 4\n0110 2.500000\n";
        ASSERT_TRUE(out.good());
    }
    ASSERT_GT(fs::file_size(path), uint64_t{1} << 30);

    const GAGenerationList list = GA::ReadGenerationList(path);
    ASSERT_TRUE(list.ok) << list.message;
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[1].values, std::vector<double>{2.5});
    EXPECT_EQ(list.places[1].offset, header.size() + bits + 10);

    GA ga(2, 2);
    ASSERT_TRUE(ga.LoadListedGeneration(path, list, 1).ok);
    EXPECT_EQ(Bits(ga.At(0)), "0110");
    ASSERT_EQ(ga.History().size(), 2u);
    EXPECT_EQ(ga.History()[0].values, std::vector<double>{1.0});
}
