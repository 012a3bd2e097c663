// GA: the fitness history and the statistics of the current population.
#include "ga.h"

#include "console.h"

namespace {
GAFitInfo Summarise(const GAData& record)
{
    GAFitInfo info;
    info.generation = record.generation;
    if (record.values.empty())
        return info; // never made: every record holds N >= 1 values
    double max = record.values.front();
    double min = max;
    double sum = max;
    for (std::size_t k = 1; k < record.values.size(); ++k) {
        const double v = record.values[k];
        sum += v;
        if (v > max)
            max = v;
        if (v < min)
            min = v;
    }
    info.max = max;
    info.average = sum / static_cast<double>(record.values.size());
    info.min = min;
    return info;
}

// The "first 3 ind" line shows the values a record has when it has fewer
// than three: "first 3 ind: 4.000000\n" for a single one.
void LogRecord(std::size_t k, const GAFitInfo& info, const GAData& record)
{
    ConsolePrintf("In da get fit info computation loop. %d %lf %lf %lf\n", static_cast<int>(k), info.max,
                  info.min, info.average);
    const std::vector<double>& v = record.values;
    switch (v.size()) {
    case 0:
        ConsolePrintf("first 3 ind:\n");
        break;
    case 1:
        ConsolePrintf("first 3 ind: %lf\n", v[0]);
        break;
    case 2:
        ConsolePrintf("first 3 ind: %lf %lf\n", v[0], v[1]);
        break;
    default:
        ConsolePrintf("first 3 ind: %lf %lf %lf\n", v[0], v[1], v[2]);
        break;
    }
}
} // namespace

void GA::RecordGeneration()
{
    GAData record;
    record.generation = generation_;
    record.values.reserve(populationSize_);
    for (uint32_t i = 0; i < populationSize_; ++i)
        record.values.push_back(population_[i].GetFitness());
    history_.push_back(std::move(record));
    evaluated_ = true;
}

std::vector<GAFitInfo> GA::GetFitInfo() const { return FitInfo(); }

const std::vector<GAFitInfo>& GA::FitInfo() const
{
    // Records only ever get appended between resets and loads, which empty
    // the cache, so the summaries already made stay valid.
    for (std::size_t k = fitInfo_.size(); k < history_.size(); ++k)
        fitInfo_.push_back(Summarise(history_[k]));
    if (ConsoleIsOpen())
        for (std::size_t k = 0; k < history_.size(); ++k)
            LogRecord(k, fitInfo_[k], history_[k]);
    return fitInfo_;
}

double GA::MaxFitness() const
{
    double max = population_[0].GetFitness();
    for (uint32_t i = 1; i < populationSize_; ++i)
        if (population_[i].GetFitness() > max)
            max = population_[i].GetFitness();
    return max;
}

double GA::MinFitness() const
{
    double min = population_[0].GetFitness();
    for (uint32_t i = 1; i < populationSize_; ++i)
        if (population_[i].GetFitness() < min)
            min = population_[i].GetFitness();
    return min;
}

double GA::AverageFitness() const
{
    double sum = 0.0;
    for (uint32_t i = 0; i < populationSize_; ++i)
        sum += population_[i].GetFitness();
    return sum / populationSize_;
}
