#include "fasttruthtableplan.h"

#include <algorithm>

namespace {
// True when an AND term with the fuse pairs `fuses` (pair j at bits 2j, 2j+1)
// over `count` inputs accepts the input values value(j).
template <class Value>
bool TermAccepts(uint32_t fuses, int count, Value value)
{
    for (int j = 0; j < count; ++j) {
        const bool needsOne = (fuses >> (2 * j)) & 1u;
        const bool needsZero = (fuses >> (2 * j + 1)) & 1u;
        const bool v = value(j);
        if ((needsOne && !v) || (needsZero && v))
            return false;
    }
    return true;
}

// Word pattern of `count` inputs whose value j is bit (topBit - j) of the bit
// position q inside a word.
uint64_t WordPattern(uint32_t fuses, int count, int topBit)
{
    uint64_t pattern = 0;
    for (int q = 0; q < 64; ++q)
        if (TermAccepts(fuses, count, [&](int j) { return ((q >> (topBit - j)) & 1) != 0; }))
            pattern |= uint64_t{1} << q;
    return pattern;
}
} // namespace

void BuildFastTruthTablePlan(const PalConfig& config, const TruthTable& table, FastTruthTablePlan& plan)
{
    const int n = config.NumInputs;
    const int inWord = std::min(n, 6); // inputs that select the bit inside a word
    const int groupB = std::min(n, 3); // the last inputs, looked up in lowB
    const int groupA = inWord - groupB; // the inputs before them, looked up in lowA
    const int groupH = n - inWord;      // the first inputs, which select the word

    plan.config = config;
    plan.words = n <= 6 ? 1 : 1 << (n - 6);
    plan.highMask = (1u << (2 * groupH)) - 1;
    plan.lowAShift = static_cast<uint32_t>(2 * groupH);
    plan.lowAMask = (1u << (2 * groupA)) - 1;
    plan.lowBShift = static_cast<uint32_t>(2 * (groupH + groupA));

    plan.lowA.fill(0);
    plan.lowB.fill(0);
    plan.high.fill(0);
    // Input n - groupB + j is bit groupB - 1 - j of the position in the word;
    // input n - inWord + j is bit inWord - 1 - j.
    for (uint32_t f = 0; f < (1u << (2 * groupB)); ++f)
        plan.lowB[f] = WordPattern(f, groupB, groupB - 1);
    for (uint32_t f = 0; f < (1u << (2 * groupA)); ++f)
        plan.lowA[f] = WordPattern(f, groupA, inWord - 1);
    // Input j (j < groupH) is bit groupH - 1 - j of the word number.
    for (uint32_t f = 0; f < (1u << (2 * groupH)); ++f)
        for (int w = 0; w < plan.words; ++w)
            if (TermAccepts(f, groupH, [&](int j) { return ((w >> (groupH - 1 - j)) & 1) != 0; }))
                plan.high[f] |= 1u << w;

    const int outputs = config.NumOutputs;
    plan.target.assign(static_cast<std::size_t>(outputs) * plan.words, 0);
    plan.care.assign(static_cast<std::size_t>(outputs) * plan.words, 0);
    plan.onesScore.assign(outputs, 0);
    plan.zerosScore.assign(outputs, 0);
    const uint32_t combinations = static_cast<uint32_t>(config.NumCombinations());
    for (uint32_t r = 0; r < combinations; ++r) {
        for (int o = 0; o < outputs; ++o) {
            const int32_t cell = table[r * static_cast<uint32_t>(outputs) + static_cast<uint32_t>(o)];
            const std::size_t word = static_cast<std::size_t>(o) * plan.words + (r >> 6);
            const uint64_t bit = uint64_t{1} << (r & 63);
            if (cell == 0) {
                plan.care[word] |= bit;
                ++plan.zerosScore[o];
            } else if (cell == 1) {
                plan.care[word] |= bit;
                plan.target[word] |= bit;
                ++plan.onesScore[o];
            }
        }
    }
}

void SizeFastTruthTableScratch(const PalConfig& config, FastTruthTableScratch& scratch)
{
    // Field reads load 8 bytes from the byte holding a field's first bit.
    const std::size_t fuseBytes = (static_cast<std::size_t>(config.ChromosomeSize()) + 7) / 8;
    scratch.packed.assign(fuseBytes + 8, 0);
    scratch.live.assign(static_cast<std::size_t>(config.NumAndTerms), 0);
}

FastTruthTableView MakeFastTruthTableView(const FastTruthTablePlan& plan, FastTruthTableScratch& scratch)
{
    const uint32_t fieldBits = static_cast<uint32_t>(2 * plan.config.NumInputs);
    const uint32_t fieldMask = (1u << fieldBits) - 1;
    FastTruthTableView view{};
    view.lowA = plan.lowA.data();
    view.lowB = plan.lowB.data();
    view.high = plan.high.data();
    view.target = plan.target.data();
    view.care = plan.care.data();
    view.onesScore = plan.onesScore.data();
    view.zerosScore = plan.zerosScore.data();
    view.packed = scratch.packed.data();
    view.live = scratch.live.data();
    view.chromosomeSize = static_cast<uint32_t>(plan.config.ChromosomeSize());
    view.numAndTerms = plan.config.NumAndTerms;
    view.numOutputs = plan.config.NumOutputs;
    view.words = plan.words;
    view.fieldBits = fieldBits;
    view.fieldMask = fieldMask;
    view.pairMask = 0x55555555u & fieldMask;
    view.highMask = plan.highMask;
    view.lowAShift = plan.lowAShift;
    view.lowAMask = plan.lowAMask;
    view.lowBShift = plan.lowBShift;
    return view;
}
