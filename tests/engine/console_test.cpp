#include "console.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct RecordingSink : ConsoleSink {
    std::string text;
    void Write(const char* data, std::size_t length) override { text.append(data, length); }
};

int sideEffects = 0;
int Touch()
{
    ++sideEffects;
    return 1;
}
} // namespace

TEST(Console, OffReturnsZeroAndFormatsNothing)
{
    SetConsoleSink(nullptr);
    sideEffects = 0;
    EXPECT_EQ(ConsolePrintf("%d %d\n", 3, Touch()), 0);
    EXPECT_EQ(sideEffects, 0); // arguments are not even evaluated while off
    EXPECT_FALSE(ConsoleIsOpen());
}

TEST(Console, OnWritesFormattedText)
{
    RecordingSink sink;
    SetConsoleSink(&sink);
    EXPECT_EQ(ConsolePrintf("%d %d\n", 3, 4), 4);
    EXPECT_EQ(sink.text, "3 4\n");
    EXPECT_EQ(ConsolePrintf("plain\n"), 6);
    SetConsoleSink(nullptr);
    ConsolePrintf("lost\n");
    SetConsoleSink(&sink);
    ConsolePrintf("back\n");
    SetConsoleSink(nullptr);
    EXPECT_EQ(sink.text, "3 4\nplain\nback\n");
}

TEST(Console, LongMessagesAreCutAtTheBuffer)
{
    RecordingSink sink;
    SetConsoleSink(&sink);
    std::string longText(5000, 'a');
    EXPECT_EQ(ConsolePrintf("%s", longText.c_str()), 2047);
    SetConsoleSink(nullptr);
    EXPECT_EQ(sink.text.size(), 2047u);
}
