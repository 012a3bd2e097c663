#include "batchprogress.h"

#include "readablefitness.h"
#include "statisticsfile.h"

#include <algorithm>
#include <cmath>

using StatisticsFile::Number;

namespace {
constexpr int barWidth = 24;
constexpr std::chrono::seconds lineInterval {10};

std::string TwoDigits(long v)
{
    return (v < 10 ? "0" : "") + std::to_string(v);
}
} // namespace

ProgressDisplay::ProgressDisplay(std::FILE* stream, int terminalColumns, double maxFitness)
    : stream_(stream)
    , columns_(terminalColumns)
    , maxFitness_(maxFitness)
    , lastLine_(std::chrono::steady_clock::now())
{
}

std::string ProgressDisplay::TimeLeft(const ExperimentProgress& progress)
{
    if (!(progress.fraction > 0.0) || progress.fraction >= 1.0)
        return progress.fraction >= 1.0 ? "0:00" : "?";
    const double left = progress.seconds * (1.0 - progress.fraction) / progress.fraction;
    if (!std::isfinite(left) || left > 359999.0)
        return "?";
    const long total = std::lround(left);
    const long hours = total / 3600;
    const long minutes = total / 60 % 60;
    const std::string seconds = TwoDigits(total % 60);
    if (hours > 0)
        return std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + seconds;
    return std::to_string(minutes) + ":" + seconds;
}

std::string ProgressDisplay::BarText(const ExperimentProgress& progress, double maxFitness)
{
    const int filled = std::clamp(static_cast<int>(progress.fraction * barWidth), 0, barWidth);
    std::string text = "[" + std::string(static_cast<std::size_t>(filled), '#')
        + std::string(static_cast<std::size_t>(barWidth - filled), '.') + "] "
        + std::to_string(progress.finished) + "/" + std::to_string(progress.runs) + " runs";
    // A robot batch without a --target has no fitness to reach (infinity).
    const bool goal = std::isfinite(maxFitness);
    if (progress.anyBest)
        text += ", best " + ReadableFitness(progress.best) + (goal ? " of " + ReadableFitness(maxFitness) : std::string());
    if (goal)
        text += ", " + std::to_string(progress.reachedMax) + " at max";
    text += ", " + TimeLeft(progress) + " left";
    return text;
}

std::string ProgressDisplay::RunText(const RunResult& result)
{
    std::string text = "run " + std::to_string(result.run) + " (seed " + std::to_string(result.seed) + "): ";
    const std::string generation = "generation " + std::to_string(result.generations);
    switch (result.end) {
    case RunResult::End::NotStarted:
        return text + "not begun";
    case RunResult::End::ReachedMax:
        text += "reached the maximum " + ReadableFitness(result.best) + " at " + generation;
        break;
    case RunResult::End::Generations:
        text += "best " + ReadableFitness(result.best) + " after " + generation
            + (result.reachedAt ? " (maximum at generation " + std::to_string(*result.reachedAt) + ")" : "");
        break;
    case RunResult::End::Evaluations:
        text += "best " + ReadableFitness(result.best) + " after " + std::to_string(result.evaluations)
            + " evaluations, " + generation
            + (result.reachedAt ? " (maximum at generation " + std::to_string(*result.reachedAt) + ")" : "");
        break;
    case RunResult::End::Interrupted:
        text += "interrupted after " + generation + ", best " + ReadableFitness(result.best);
        break;
    }
    return text + ", " + Number(std::round(result.seconds * 1000.0) / 1000.0) + " s";
}

void ProgressDisplay::RunFinished(const RunResult& result)
{
    if (columns_ == 0)
        std::fprintf(stream_, "%s\n", RunText(result).c_str());
}

void ProgressDisplay::Tick(const ExperimentProgress& progress)
{
    if (columns_ > 0) {
        // \r returns to the line's start, ESC [ K clears what a longer line
        // left. A line as wide as the terminal would wrap, and \r could not
        // take back what went to the next line.
        std::string text = BarText(progress, maxFitness_);
        text.resize(std::min<std::size_t>(text.size(), static_cast<std::size_t>(std::max(columns_ - 1, 1))));
        std::fprintf(stream_, "\r%s\033[K", text.c_str());
        barShown_ = true;
    } else if (std::chrono::steady_clock::now() - lastLine_ >= lineInterval
        && progress.finished < progress.runs) {
        lastLine_ = std::chrono::steady_clock::now();
        std::fprintf(stream_, "%u of %u runs done, best %s, about %s left\n", progress.finished,
            progress.runs, progress.anyBest ? ReadableFitness(progress.best).c_str() : "-",
            TimeLeft(progress).c_str());
    }
    std::fflush(stream_);
}

void ProgressDisplay::Finish()
{
    if (barShown_)
        std::fprintf(stream_, "\n");
    barShown_ = false;
    std::fflush(stream_);
}
