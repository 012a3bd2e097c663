#pragma once
// Everything FastTruthTableFitness prepares once per PAL size and table, and
// the plain view of it that the per-instruction-set kernels work on.
//
// Bit-parallel layout. Input combination r (0 .. 2^NumInputs - 1) is bit
// r % 64 of word r / 64 of a bit vector of `words` 64-bit words. The last
// (up to) six inputs select the bit inside a word, the first NumInputs - 6
// inputs select the word. An AND term is described by its field F of
// 2 x NumInputs fuse bits (bit 2i: the term needs input i = 1, bit 2i + 1:
// it needs input i = 0), and its truth vector is
//     word w = (lowA[A(F)] & lowB[B(F)])   if bit w of high[H(F)] is set,
//              0                           otherwise,
// where B(F) are the fuses of the last min(NumInputs, 3) inputs, A(F) those
// of the inputs before them that still select bits inside a word, and H(F)
// those of the inputs that select words. With fewer than 6 inputs only the
// first 2^NumInputs bits of the single word are meaningful; the care mask of
// the table is 0 on the rest.
#include "palconfig.h"
#include "truthtable.h"

#include <array>
#include <cstdint>
#include <vector>

// Raw pointers and sizes handed to a kernel; built from the plan per call
// (so copying a FastTruthTableFitness never leaves dangling pointers).
struct FastTruthTableView {
    const uint64_t* lowA;      // 64 entries, indexed by (F >> lowAShift) & lowAMask
    const uint64_t* lowB;      // 64 entries, indexed by F >> lowBShift
    const uint32_t* high;      // 256 entries, indexed by F & highMask; bit w = word w
    const uint64_t* target;    // numOutputs x words: cell == 1
    const uint64_t* care;      // numOutputs x words: cell is 0 or 1
    const int32_t* onesScore;  // per output: score of an output that is always 1
    const int32_t* zerosScore; // per output: score of an output that is always 0
    unsigned char* packed;     // scratch: the fuses packed 8 per byte, plus 8 spare bytes
    uint32_t* live;            // scratch: numAndTerms fields of one output's live terms
    uint32_t chromosomeSize;   // fuse bits read from the chromosome
    int32_t numAndTerms;
    int32_t numOutputs;
    int32_t words;             // 1, 2, 4, 8 or 16
    uint32_t fieldBits;        // 2 x NumInputs
    uint32_t fieldMask;
    uint32_t pairMask;         // the p = 0 bit of every input's fuse pair
    uint32_t highMask;
    uint32_t lowAShift;
    uint32_t lowAMask;
    uint32_t lowBShift;
};

struct FastTruthTablePlan {
    PalConfig config;
    int32_t words = 1;
    uint32_t highMask = 0;
    uint32_t lowAShift = 0;
    uint32_t lowAMask = 0;
    uint32_t lowBShift = 0;
    std::array<uint64_t, 64> lowA{};
    std::array<uint64_t, 64> lowB{};
    std::array<uint32_t, 256> high{};
    std::vector<uint64_t> target;
    std::vector<uint64_t> care;
    std::vector<int32_t> onesScore;
    std::vector<int32_t> zerosScore;
};

// Scratch buffers sized by Prepare so that evaluation never allocates.
struct FastTruthTableScratch {
    std::vector<unsigned char> packed;
    std::vector<uint32_t> live;
};

// Fills `plan` for a configuration within the PalConfig bounds and a table of
// matching size (the caller checks both).
void BuildFastTruthTablePlan(const PalConfig& config, const TruthTable& table, FastTruthTablePlan& plan);

// Sizes `scratch` for `config`; keeps its capacity when it is big enough.
void SizeFastTruthTableScratch(const PalConfig& config, FastTruthTableScratch& scratch);

FastTruthTableView MakeFastTruthTableView(const FastTruthTablePlan& plan, FastTruthTableScratch& scratch);

// The kernels: return the fitness of the fuse cells `cells` (ChromosomeSize
// bytes, non-zero means 1). The portable one runs everywhere; the AVX2 one
// exists only where FAST_TRUTH_TABLE_HAS_AVX2 is 1 and may be called only
// when the CPU has AVX2 and POPCNT.
int EvaluateFastTruthTablePortable(const FastTruthTableView& view, const unsigned char* cells);

#if defined(__x86_64__) && defined(__GNUC__)
#define FAST_TRUTH_TABLE_HAS_AVX2 1
int EvaluateFastTruthTableAvx2(const FastTruthTableView& view, const unsigned char* cells);
#else
#define FAST_TRUTH_TABLE_HAS_AVX2 0
#endif
