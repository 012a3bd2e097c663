#include "batchsummary.h"

#include "readablefitness.h"
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

// `text` writes each number: every digit for counts, ReadableFitness for
// fitness values (the summary file keeps their digits).
std::string SpreadText(const std::vector<double>& values, std::string (*text)(double) = Number)
{
    if (values.size() == 1)
        return text(values.front());
    const Spread spread = SpreadOf(values);
    return "median " + text(spread.median) + ", quartiles " + text(spread.q1) + " and "
        + text(spread.q3) + ", range " + text(spread.min) + " to " + text(spread.max);
}

// What the runs evolved, e.g. "of xor.tbl (PAL 4/2/3, maximum fitness 48)".
std::string Subject(const BatchSetup& setup)
{
    const BatchOptions& options = setup.options;
    const PalConfig& pal = setup.pal;
    const std::string palText = "PAL " + std::to_string(pal.NumInputs) + "/" + std::to_string(pal.NumAndTerms)
        + "/" + std::to_string(pal.NumOutputs);
    if (!setup.robot)
        return "of " + options.table + " (" + palText + ", maximum fitness " + Number(setup.maxFitness) + ")";
    const MotorTable& m = options.motor;
    std::string text = "of robot controllers in " + setup.robot->arenaName + " (" + palText + ", "
        + std::to_string(options.runLength) + " s per evaluation, "
        + std::to_string(options.runsPerIndividual) + " per individual, motor table "
        + std::to_string(m[0]) + "," + std::to_string(m[1]) + "," + std::to_string(m[2]) + ","
        + std::to_string(m[3]) + ", threshold " + std::to_string(options.threshold);
    if (options.noise > 0.0)
        text += ", noise " + Number(options.noise) + " %";
    // The evaluation beside the window's, when asked for.
    const std::string evaluation = DescribeRobotEvaluation(options.evaluation);
    if (!evaluation.empty())
        text += ", " + evaluation;
    return text + ")";
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
    const bool target = !setup.robot || options.target;
    const std::string goal = setup.robot ? "the target " : "the maximum fitness ";
    std::string text = Runs(results.size()) + " " + Subject(setup) + ", seed"
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
    if (target)
        text += std::to_string(needed.size()) + " of " + Runs(results.size()) + " reached " + goal
            + Number(setup.maxFitness) + "\n";
    if (!needed.empty())
        text += "generations needed: " + SpreadText(needed) + "\n";
    if (!needed.empty() && options.countsEvaluations)
        text += "evaluations needed: " + SpreadText(evaluationsNeeded) + "\n";
    if (!others.empty())
        text += (target ? "best fitness of the other " + Runs(others.size()) : std::string("best fitness"))
            + ": " + SpreadText(others, ReadableFitness) + "\n";
    if (interrupted + notStarted > 0)
        text += "interrupted: " + Runs(interrupted) + " stopped early, " + Runs(notStarted)
            + " not begun (finished = 0 in the summary file)\n";
    return text;
}
