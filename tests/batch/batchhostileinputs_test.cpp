// Hostile inputs to orvik-batch: devices, FIFOs, directories and oversized
// files as the table, quoted values cut short and made printable, bad
// numbers named by their option. Each is refused at once with one line.
#include "batchtestsupport.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace batchtest;

TEST(BatchHostileInputs, EachIsRefusedAtOnceWithOneShortLine)
{
    ScratchDir dir;
    const std::string table = dir / "xor.tbl";
    WriteFile(table, XorTable());
    ASSERT_EQ(::mkfifo((dir / "fifo.tbl").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo.ga").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.pla");
    fs::create_directory(dir / "folder.tbl");
    WriteFile(dir / "huge.tbl", "4 3\n");
    fs::resize_file(dir / "huge.tbl", (1u << 20) + 1);
    WriteFile(dir / "long.tbl", "4 3\n" + std::string(500000, 'a'));
    WriteFile(dir / "nul.tbl", std::string("4 3\n\0\0\0 ", 8));
    WriteFile(dir / "long.pla", "." + std::string(100000, 'k') + "\n");
    const std::string as = std::string(40, 'a') + "\u2026";

    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"/dev/zero"}, "Error loading truth table /dev/zero: not a regular file"},
        {{dir / "zero.pla"}, "Error loading truth table " + dir / "zero.pla" + ": not a regular file"},
        {{dir / "fifo.tbl"}, "Error loading truth table " + dir / "fifo.tbl" + ": not a regular file"},
        {{dir / "folder.tbl"}, "Error loading truth table " + dir / "folder.tbl" + ": is a directory"},
        {{dir / "huge.tbl"}, "Error loading truth table " + dir / "huge.tbl" + ": larger than 1048576 bytes"},
        {{dir / "long.tbl"}, dir / "long.tbl" + ": value 1 of 48, \"" + as + "\", is not a whole number"},
        {{dir / "nul.tbl"}, dir / "nul.tbl" + ": value 1 of 48, \"\\x00\\x00\\x00\", is not a whole number"},
        {{dir / "long.pla"}, dir / "long.pla" + ": Line 1: ." + std::string(39, 'k')
                + "\u2026 is not supported: only binary PLA files with .i, .o, .p, .ilb, .ob, .type and .e can be "
                  "imported."},
        {{table, "--start", dir / "fifo.ga:0"}, "--start: Can't open '" + dir / "fifo.ga" + "': not a regular file"},
        {{table, "--mutation", "nan"}, "--mutation nan: not a number"},
        {{table, "--crossover", "-inf"}, "--crossover -inf: not a number"},
        {{table, "--mutation", "2"}, "--mutation 2: Crossover and mutation probabilities must be inside [0;1]"},
        {{table, "--population", "1"}, "--population 1: Rank must be lower than the population size"},
        {{table, "--selection", std::string(100, 'b')}, "--selection " + std::string(40, 'b') + "\u2026: must be rank or roulette"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const BatchCall call = Call(c.arguments);
        EXPECT_EQ(call.status, 2);
        EXPECT_EQ(call.err, "orvik-batch: " + c.message + "\n");
    }
}
