#include "batchsummary.h"

#include "statisticsfile.h"

#include <algorithm>
#include <cmath>

using StatisticsFile::Number;

namespace {
double Quantile(const std::vector<double>& sorted, double p)
{
    const double position = p * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

std::string Runs(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " run" : " runs");
}

std::string SpreadText(const std::vector<double>& values)
{
    if (values.size() == 1)
        return Number(values.front());
    const Spread spread = SpreadOf(values);
    return "median " + Number(spread.median) + ", quartiles " + Number(spread.q1) + " and "
        + Number(spread.q3) + ", range " + Number(spread.min) + " to " + Number(spread.max);
}
} // namespace

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return Spread {
        values.front(), Quantile(values, 0.25), Quantile(values, 0.5), Quantile(values, 0.75), values.back()};
}

std::string SummaryText(const BatchSetup& setup, const std::vector<RunResult>& results)
{
    const BatchOptions& options = setup.options;
    const PalConfig& pal = setup.pal;
    std::string text = Runs(results.size()) + " of " + options.table + " (PAL "
        + std::to_string(pal.NumInputs) + "/" + std::to_string(pal.NumAndTerms) + "/"
        + std::to_string(pal.NumOutputs) + ", maximum fitness " + Number(setup.maxFitness) + "), seed"
        + (results.size() == 1 ? " " : "s ") + std::to_string(options.seed);
    if (results.size() > 1)
        text += " to " + std::to_string(RunSeed(setup, static_cast<uint32_t>(results.size() - 1)));
    text += "\n";

    std::vector<double> needed;
    std::vector<double> evaluationsNeeded;
    std::vector<double> others;
    std::size_t interrupted = 0;
    std::size_t notStarted = 0;
    for (const RunResult& result : results) {
        if (result.reachedAt) {
            needed.push_back(*result.reachedAt);
            evaluationsNeeded.push_back(static_cast<double>(result.evaluations));
        }
        else if (result.end != RunResult::End::NotStarted)
            others.push_back(result.best);
        interrupted += result.end == RunResult::End::Interrupted ? 1 : 0;
        notStarted += result.end == RunResult::End::NotStarted ? 1 : 0;
    }
    text += std::to_string(needed.size()) + " of " + Runs(results.size()) + " reached the maximum fitness "
        + Number(setup.maxFitness) + "\n";
    if (!needed.empty())
        text += "generations needed: " + SpreadText(needed) + "\n";
    if (!needed.empty() && options.countsEvaluations)
        text += "evaluations needed: " + SpreadText(evaluationsNeeded) + "\n";
    if (!others.empty())
        text += "best fitness of the other " + Runs(others.size()) + ": " + SpreadText(others) + "\n";
    if (interrupted + notStarted > 0)
        text += "interrupted: " + Runs(interrupted) + " stopped early, " + Runs(notStarted)
            + " not begun (finished = 0 in the summary file)\n";
    return text;
}
