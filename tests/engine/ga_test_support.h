#pragma once
// Helpers shared by the GA tests: a log recorder, a restart of both random
// generators, the draws of the process generator from its start, and a
// comparison of everything a refused operation must leave alone.
#include "console.h"
#include "ga.h"
#include "processrandom.h"
#include "shufflerandom.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// Records the debug log while it lives.
struct LogRecorder : ConsoleSink {
    std::string text;
    LogRecorder() { SetConsoleSink(this); }
    ~LogRecorder() override { SetConsoleSink(nullptr); }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;
    void Write(const char* data, std::size_t length) override { text.append(data, length); }
};

inline void RestartGenerators()
{
    ProcessRandom::RestartForTests();
    ShuffleRandom::RestartForTests();
}

// The first count draws after start-up; leaves the generator restarted.
inline std::vector<int> DrawsFromStart(std::size_t count)
{
    ProcessRandom::RestartForTests();
    std::vector<int> draws(count);
    for (int& d : draws)
        d = ProcessRandom::Draw();
    ProcessRandom::RestartForTests();
    return draws;
}

// Sets individual i's bits from a string of '0' and '1'.
inline void SetBits(Individual& individual, const std::string& bits)
{
    for (uint32_t p = 0; p < bits.size(); ++p)
        individual[p] = bits[p] == '1' ? 1 : 0;
}

inline std::string Bits(const Individual& individual)
{
    std::string bits;
    for (uint32_t p = 0; p < individual.Size(); ++p)
        bits += individual[p] ? '1' : '0';
    return bits;
}

inline bool SameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameDoubles(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SameDouble(a[i], b[i]))
            return false;
    return true;
}

// Everything about a GA that a load or a resize may change.
struct GASnapshot {
    uint32_t n = 0;
    uint32_t l = 0;
    int32_t generation = 0;
    bool evaluated = false;
    std::vector<std::string> bits;
    std::vector<double> fitness;
    std::vector<int32_t> historyGenerations;
    std::vector<std::vector<double>> historyValues;

    explicit GASnapshot(const GA& ga)
        : n(ga.GetPopulationSize()), l(ga.GetChromosomeLength()), generation(ga.GetGeneration()),
          evaluated(ga.IsEvaluated())
    {
        for (uint32_t i = 0; i < n; ++i) {
            bits.push_back(Bits(ga.At(i)));
            fitness.push_back(ga.At(i).GetFitness());
        }
        for (const GAData& record : ga.History()) {
            historyGenerations.push_back(record.generation);
            historyValues.push_back(record.values);
        }
    }

    bool operator==(const GASnapshot& other) const
    {
        if (!SameDoubles(fitness, other.fitness) || historyValues.size() != other.historyValues.size())
            return false;
        for (std::size_t k = 0; k < historyValues.size(); ++k)
            if (!SameDoubles(historyValues[k], other.historyValues[k]))
                return false;
        return n == other.n && l == other.l && generation == other.generation && evaluated == other.evaluated &&
               bits == other.bits && historyGenerations == other.historyGenerations;
    }
};
