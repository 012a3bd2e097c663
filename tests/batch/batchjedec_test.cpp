// orvik-batch --save-best DIR --jedec DEVICE: a fuse file per run beside the
// population, for the fittest individual, and the option's checks.
#include "batchoptions.h"
#include "batchtestsupport.h"
#include "jedecreader.h"

using namespace batchtest;

TEST(BatchJedec, OptionChecks)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"t.tbl", "--save-best", "d", "--jedec", "gal16v8"}, ""},
        {{"t.tbl", "--save-best", "d", "--jedec", "atf22v10c"}, ""},
        {{"t.tbl", "--save-best", "d", "--jedec", "GAL20V8"},
            "--jedec GAL20V8: must be GAL22V10 or GAL16V8 (or ATF22V10C, ATF16V8B)"},
        {{"t.tbl", "--save-best", "d", "--jedec", "GAL16V8x"},
            "--jedec GAL16V8x: must be GAL22V10 or GAL16V8 (or ATF22V10C, ATF16V8B)"},
        {{"t.tbl", "--save-best", "d", "--jedec", "x22V10x16V8"},
            "--jedec x22V10x16V8: must be GAL22V10 or GAL16V8 (or ATF22V10C, ATF16V8B)"},
        {{"t.tbl", "--jedec", "GAL22V10"}, "--jedec writes beside the files of --save-best: give --save-best too"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(ParseBatchOptions(arguments, 1).error, error) << arguments.back();

    // A PAL the device cannot hold is refused before any run, nothing written.
    ScratchDir dir;
    std::string table = "4 9\n";
    for (int row = 0; row < 16; ++row)
        table += "0 1 0 1 0 1 0 1 0\n";
    WriteFile(dir / "nine.tbl", table);
    const BatchCall call = Call({dir / "nine.tbl", "--save-best", dir / "saved", "--jedec", "GAL16V8"});
    EXPECT_EQ(call.status, 2);
    EXPECT_EQ(call.err, "orvik-batch: --jedec GAL16V8: The GAL16V8 has 8 output cells; the PAL has 9 outputs.\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string> {"nine.tbl"});
}

TEST(BatchJedec, EachRunsFittestIndividualOnTheDevice)
{
    ScratchDir dir;
    WriteFile(dir / "xor.tbl", XorTable());
    const BatchCall call = Call({dir / "xor.tbl", "--runs", "2", "--generations", "3000", "--save-best",
                                 dir / "saved", "--jedec", "GAL16V8"});
    ASSERT_EQ(call.status, 0) << call.err;
    ASSERT_EQ(dir.Entries("saved"), (std::vector<std::string>{"seed-1.ga", "seed-1.jed", "seed-2.ga", "seed-2.jed"}));
    ASSERT_NE(call.out.find("2 of 2 runs reached the maximum fitness"), std::string::npos) << call.out;
    for (const char* name : {"seed-1.jed", "seed-2.jed"}) {
        const JedecContents read = ReadJedecText(ReadFile(dir / ("saved/" + std::string(name))));
        EXPECT_TRUE(read.fuseChecksumRight && read.transmissionChecksumRight);
        // The fittest individual reproduces the table: O0 = I0 XOR I1,
        // O1 = I2 AND I3, O2 = I0 OR I3, inputs on pins 2 to 5, outputs on 12 to 14.
        const GalSimulator device("GAL16V8", read.fuses);
        for (int r = 0; r < 16; ++r) {
            PinLevels pins;
            pins.fill(Floating);
            for (int i = 0; i < 4; ++i)
                pins[static_cast<std::size_t>(2 + i)] = (r >> (3 - i)) & 1;
            const PinLevels out = device.Run(pins);
            const int i0 = r >> 3, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
            EXPECT_EQ((std::vector<int>{out[12], out[13], out[14]}), (std::vector<int>{i0 ^ i1, i2 & i3, i0 | i3}))
                << name << " row " << r;
        }
    }
}
