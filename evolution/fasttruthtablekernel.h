#pragma once
// The body of the truth-table kernels, shared by the per-instruction-set
// translation units (fasttruthtableportable.cpp, fasttruthtableavx2.cpp).
// Each unit includes it once, after its standard headers, possibly inside a
// target pragma; everything here has internal linkage so that code compiled
// for a wider instruction set can never be picked by the linker for a caller
// elsewhere. Use no standard-library templates here for the same reason.
//
// Include only from those units. An Isa policy provides
//     static void Pack(const unsigned char* cells, uint32_t count, unsigned char* packed);
//     template <int Words> static int ScoreOutput(const FastTruthTableView&, int output, int live);
#include "fasttruthtableplan.h"

#include <cstdint>
#include <cstring>

namespace {

inline int PopCount64(uint64_t x)
{
#if defined(__GNUC__)
    return __builtin_popcountll(x);
#else
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
#endif
}

// Eight bytes as a little-endian number.
inline uint64_t LoadLittle64(const unsigned char* p)
{
    uint64_t v = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(&v, p, sizeof v);
#else
    for (int k = 7; k >= 0; --k)
        v = (v << 8) | p[k];
#endif
    return v;
}

// Packs `count` cells (non-zero = 1) into bits, cell i at bit i % 8 of
// byte i / 8, eight cells per step.
inline void PackCellsSwar(const unsigned char* cells, uint32_t count, unsigned char* packed)
{
    uint32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint64_t x = LoadLittle64(cells + i);
        // High bit of every byte: set when the byte is non-zero.
        const uint64_t nonZero = (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) & 0x8080808080808080ull;
        // Gather those eight bits into the top byte, byte 0 lowest.
        packed[i / 8] = static_cast<unsigned char>(((nonZero >> 7) * 0x0102040810204080ull) >> 56);
    }
    if (i < count) {
        unsigned char last = 0;
        for (uint32_t k = 0; i + k < count; ++k)
            last = static_cast<unsigned char>(last | ((cells[i + k] != 0) << k));
        packed[i / 8] = last;
    }
}

// The 2 x NumInputs fuse bits starting at bit `bit` of the packed fuses.
inline uint32_t ExtractField(const unsigned char* packed, uint32_t bit, uint32_t mask)
{
    return static_cast<uint32_t>(LoadLittle64(packed + (bit >> 3)) >> (bit & 7)) & mask;
}

inline uint64_t InWordPattern(const FastTruthTableView& v, uint32_t field)
{
    return v.lowA[(field >> v.lowAShift) & v.lowAMask] & v.lowB[field >> v.lowBShift];
}

// Score of one output from its `live` AND-term fields (v.live), 64-bit words.
template <int Words>
int ScoreOutputWords(const FastTruthTableView& v, int output, int live)
{
    uint64_t acc[Words] = {};
    for (int k = 0; k < live; ++k) {
        const uint32_t field = v.live[k];
        const uint64_t pattern = InWordPattern(v, field);
        if constexpr (Words == 1) {
            acc[0] |= pattern;
        } else {
            const uint32_t high = v.high[field & v.highMask];
            for (int w = 0; w < Words; ++w)
                acc[w] |= pattern & (uint64_t{0} - ((high >> w) & 1u));
        }
    }
    const uint64_t* target = v.target + static_cast<std::size_t>(output) * Words;
    const uint64_t* care = v.care + static_cast<std::size_t>(output) * Words;
    int score = 0;
    for (int w = 0; w < Words; ++w)
        score += PopCount64(care[w] & ~(acc[w] ^ target[w]));
    return score;
}

template <class Isa, int Words>
int EvaluateWords(const FastTruthTableView& v)
{
    // Locals, because the stores into v.live could otherwise alias them.
    const int terms = v.numAndTerms;
    const uint32_t fieldBits = v.fieldBits;
    const uint32_t fieldMask = v.fieldMask;
    const uint32_t pairMask = v.pairMask;
    const unsigned char* const packed = v.packed;
    uint32_t* const liveFields = v.live;
    const uint32_t outputBits = static_cast<uint32_t>(terms) * fieldBits;
    int total = 0;
    for (int o = 0; o < v.numOutputs; ++o) {
        uint32_t bit = static_cast<uint32_t>(o) * outputBits;
        int live = 0;
        bool alwaysTrue = false;
        for (int t = 0; t < terms; ++t, bit += fieldBits) {
            const uint32_t field = ExtractField(packed, bit, fieldMask);
            if (field == 0) { // no fuse set: the term, hence the output, is always 1
                alwaysTrue = true;
                break;
            }
            // Kept unless both fuses of some input are set (never true).
            liveFields[live] = field;
            live += (field & (field >> 1) & pairMask) == 0;
        }
        if (alwaysTrue)
            total += v.onesScore[o];
        else if (live == 0)
            total += v.zerosScore[o];
        else
            total += Isa::template ScoreOutput<Words>(v, o, live);
    }
    return total;
}

template <class Isa>
int EvaluateAll(const FastTruthTableView& v, const unsigned char* cells)
{
    Isa::Pack(cells, v.chromosomeSize, v.packed);
    switch (v.words) {
    case 1: return EvaluateWords<Isa, 1>(v);
    case 2: return EvaluateWords<Isa, 2>(v);
    case 4: return EvaluateWords<Isa, 4>(v);
    case 8: return EvaluateWords<Isa, 8>(v);
    default: return EvaluateWords<Isa, 16>(v);
    }
}

} // namespace
