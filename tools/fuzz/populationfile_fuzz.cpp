// Feeds arbitrary text to the population-file readers and checks what they
// promise: they end, stay inside the text, agree with each other, and a
// refused load leaves the GA exactly as it was. Any broken promise traps.
#include "ga.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool SameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameHistory(const std::vector<GAData>& a, const std::vector<GAData>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].generation != b[k].generation || a[k].values.size() != b[k].values.size())
            return false;
        for (std::size_t i = 0; i < a[k].values.size(); ++i)
            if (!SameValue(a[k].values[i], b[k].values[i]))
                return false;
    }
    return true;
}

bool SameGA(const GA& a, const GA& b)
{
    if (a.GetPopulationSize() != b.GetPopulationSize() || a.GetChromosomeLength() != b.GetChromosomeLength() ||
        a.GetGeneration() != b.GetGeneration() || a.IsEvaluated() != b.IsEvaluated() ||
        !SameHistory(a.History(), b.History()))
        return false;
    for (uint32_t i = 0; i < a.GetPopulationSize(); ++i)
        if (!(a.At(i) == b.At(i)) || !SameValue(a.At(i).GetFitness(), b.At(i).GetFitness()))
            return false;
    return true;
}

// Index of the first record numbered generation, or -1.
long FirstRecord(const std::vector<GAData>& records, int32_t generation)
{
    for (std::size_t k = 0; k < records.size(); ++k)
        if (records[k].generation == generation)
            return static_cast<long>(k);
    return -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const GAGenerationList list = GA::ReadGenerationListFromText(text);
    Require(list.ok == list.message.empty());
    for (const GAData& record : list.records)
        Require(!record.values.empty());

    // Ask for a generation the list found (chosen by the first byte), or
    // for one that is probably missing.
    int32_t wanted = 7;
    if (!list.records.empty() && size > 0)
        wanted = list.records[data[0] % list.records.size()].generation;

    GA ga(3, 5);
    ga.SetElitism(4);
    const GA before = ga;
    const GAFileResult result = ga.LoadGenerationFromText(text, wanted);
    const long listed = FirstRecord(list.records, wanted);
    if (!result.ok) {
        Require(!result.message.empty());
        Require(SameGA(ga, before));
        // A block the list read completely always loads.
        Require(listed < 0);
        return 0;
    }
    Require(ga.IsEvaluated() && ga.GetGeneration() == wanted);
    Require(ga.History().size() >= 1 && ga.History().back().generation == wanted);
    Require(ga.History().back().values.size() == ga.GetPopulationSize());
    if (listed >= 0) {
        Require(ga.History().size() == static_cast<std::size_t>(listed) + 1);
        Require(SameHistory(ga.History(), std::vector<GAData>(list.records.begin(), list.records.begin() + listed + 1)));
    }
    for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
        Require(ga.At(i).Size() == ga.GetChromosomeLength());

    // What the writer makes of the loaded block reads back to the same text.
    const std::string block = ga.GenerationBlock();
    GA again(1, 1);
    Require(again.LoadGenerationFromText(block, wanted).ok);
    Require(again.GenerationBlock() == block);
    const GAGenerationList relisted = GA::ReadGenerationListFromText(block);
    Require(relisted.ok && relisted.records.size() == 1);

    // The step must stay inside the loaded population whatever its size.
    if (ga.GetPopulationSize() * uint64_t{ga.GetChromosomeLength()} <= 4096) {
        ga.SetSelection(static_cast<uint8_t>(size % 3));
        ga.SetRankParents(static_cast<uint32_t>(size % 7));
        ga.NextGeneration();
        Require(ga.GetGeneration() == static_cast<int32_t>(static_cast<uint32_t>(wanted) + 1u));
    }
    return 0;
}
