// What a person sees on standard error: the bar on a terminal, plain lines
// elsewhere, and the estimate of the time left.
#include "batchprogress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
ExperimentProgress Halfway()
{
    ExperimentProgress progress;
    progress.runs = 30;
    progress.finished = 15;
    progress.reachedMax = 12;
    progress.anyBest = true;
    progress.best = 47;
    progress.fraction = 0.5;
    progress.seconds = 42;
    return progress;
}

// What a display writes for one finished run and one tick.
std::string Shown(int terminalColumns)
{
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* stream = open_memstream(&text, &length);
    {
        ProgressDisplay display(stream, terminalColumns, 48);
        RunResult result;
        result.run = 3;
        result.seed = 4;
        result.end = RunResult::End::ReachedMax;
        result.generations = 97;
        result.best = 48;
        result.reachedMax = true;
        result.seconds = 0.1234;
        display.RunFinished(result);
        display.Tick(Halfway());
        display.Finish();
    }
    std::fclose(stream);
    std::string shown(text, length);
    std::free(text);
    return shown;
}
} // namespace

TEST(BatchProgress, BarOnATerminalPlainLinesElsewhere)
{
    EXPECT_EQ(
        Shown(80), "\r[############............] 15/30 runs, best 47 of 48, 12 at max, 0:42 left\033[K\n");
    // Cut to the terminal's width less one column, so that it never wraps.
    EXPECT_EQ(Shown(39), "\r[############............] 15/30 runs,\033[K\n");
    // No bar and no terminal codes in a log; the progress line comes every ten seconds only.
    EXPECT_EQ(Shown(0), "run 3 (seed 4): reached the maximum 48 at generation 97, 0.123 s\n");
}

TEST(BatchProgress, TimeLeftFollowsTheWorkDone)
{
    ExperimentProgress progress = Halfway();
    EXPECT_EQ(ProgressDisplay::TimeLeft(progress), "0:42");
    progress.fraction = 0.1;
    progress.seconds = 400;
    EXPECT_EQ(ProgressDisplay::TimeLeft(progress), "1:00:00");
    progress.fraction = 0.0;
    EXPECT_EQ(ProgressDisplay::TimeLeft(progress), "?");
    progress.fraction = 1.0;
    EXPECT_EQ(ProgressDisplay::TimeLeft(progress), "0:00");
}
