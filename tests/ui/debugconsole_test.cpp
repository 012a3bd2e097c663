#include "debugconsole.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>

namespace {
class DebugConsole : public ::testing::Test {
protected:
    void TearDown() override { CloseDebugConsole(); }
    static TFDebugConsole& Window() { return *DebugConsoleWindow(); }
};
} // namespace

TEST_F(DebugConsole, OffAtFirstThenOnOffOn)
{
    EXPECT_EQ(ConsolePrintf("before %d\n", 1), 0);

    OpenDebugConsole();
    EXPECT_TRUE(ConsoleIsOpen());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), "Debug console");
    EXPECT_TRUE(Window().MLog->isReadOnly());
    EXPECT_EQ(ConsolePrintf("%d %d\n", 3, 4), 4);
    EXPECT_EQ(Window().Text(), "3 4\n");

    EXPECT_TRUE(CloseDebugConsole());
    EXPECT_FALSE(ConsoleIsOpen());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(ConsolePrintf("lost %d\n", 2), 0);

    OpenDebugConsole();
    EXPECT_TRUE(Window().Text().isEmpty()); // a fresh window each time
    ConsolePrintf("back\n");
    EXPECT_EQ(Window().Text(), "back\n");
}

TEST_F(DebugConsole, PendingTextIsDroppedOnClose)
{
    OpenDebugConsole();
    ConsolePrintf("not yet shown\n");
    CloseDebugConsole();
    OpenDebugConsole();
    EXPECT_TRUE(Window().Text().isEmpty());
}

TEST_F(DebugConsole, ChunksMayEndAnywhere)
{
    struct Row {
        const char* name;
        std::vector<std::string> chunks;
        bool flushBetween;
        const char* text;
    } rows[] = {
        {"split lines", {"abc", "def\ngh", "i\n"}, false, "abcdef\nghi\n"},
        {"split lines, flushed", {"abc", "def\ngh", "i\n"}, true, "abcdef\nghi\n"},
        {"lone CR ends a line", {"Seeking: 1\r", "Seeking: 2\r", "Found\n"}, false, "Seeking: 1\nSeeking: 2\nFound\n"},
        {"CR LF is one line end", {"a\r\nb\r\n"}, false, "a\nb\n"},
        {"CR LF split across a flush", {"a\r", "\nb\n"}, true, "a\nb\n"},
        {"UTF-8", {"caf\xc3\xa9\n"}, false, "caf\u00e9\n"},
        {"Latin-1", {"caf\xe9\n"}, true, "caf\u00e9\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenDebugConsole();
        for (const std::string& chunk : row.chunks) {
            Window().Write(chunk.data(), chunk.size());
            if (row.flushBetween)
                Window().FlushPending();
        }
        EXPECT_EQ(Window().Text(), QString::fromUtf8(row.text));
        CloseDebugConsole();
    }
}

TEST_F(DebugConsole, MemoryStaysBoundedOnLongRuns)
{
    OpenDebugConsole();
    const int lines = 100000;
    for (int i = 0; i < lines; ++i) {
        ConsolePrintf("Individual %d fitness %lf\n", i, i * 0.5);
        if (i % 997 == 0) // as the evolution loop would, now and then
            Window().FlushPending();
    }
    const QString text = Window().Text();
    EXPECT_LE(Window().MLog->document()->blockCount(), TFDebugConsole::MaxLines + 1);
    EXPECT_TRUE(text.endsWith("Individual 99999 fitness 49999.500000\n"));
    EXPECT_FALSE(text.contains("Individual 0 fitness"));
}

TEST_F(DebugConsole, FloodBeyondTheWindowKeepsTheLastLines)
{
    OpenDebugConsole();
    std::string flood;
    for (int i = 0; i < 3 * TFDebugConsole::MaxLines; ++i)
        flood += "line " + std::to_string(i) + "\n";
    Window().Write(flood.data(), flood.size());
    // The window shows an unbroken run of the latest lines, about MaxLines of them.
    QStringList shown = Window().Text().split('\n');
    EXPECT_LE(Window().MLog->document()->blockCount(), TFDebugConsole::MaxLines + 1);
    ASSERT_EQ(shown.takeLast(), "");
    ASSERT_GE(shown.size(), TFDebugConsole::MaxLines - 1);
    int expected = 3 * TFDebugConsole::MaxLines - 1;
    while (!shown.isEmpty())
        ASSERT_EQ(shown.takeLast(), QString("line %1").arg(expected--));
}

TEST_F(DebugConsole, CloseBoxTurnsTheConsoleOffAndTellsTheOwner)
{
    OpenDebugConsole();
    int closed = 0;
    const auto connection = QObject::connect(&Window(), &TFDebugConsole::closedByUser, [&] { ++closed; });
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(ConsoleIsOpen());
    EXPECT_FALSE(Window().isVisible());
    // Closing from the menu is not the user's close box.
    OpenDebugConsole();
    CloseDebugConsole();
    EXPECT_EQ(closed, 1);
    QObject::disconnect(connection);
}

TEST_F(DebugConsole, ADestroyedWindowDetachesItself)
{
    {
        TFDebugConsole window;
        SetConsoleSink(&window);
        ConsolePrintf("x\n");
    }
    EXPECT_EQ(CurrentConsoleSink(), nullptr);
    EXPECT_EQ(ConsolePrintf("y\n"), 0);
}
