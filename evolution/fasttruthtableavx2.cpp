// The truth-table kernel for x86-64 processors with AVX2 and POPCNT: four
// 64-bit words per vector. Only this unit is compiled for those instructions
// (through a target pragma, not a compiler flag), so the program still runs
// on any x86-64; FastTruthTableFitness calls it only after a CPU check.
#include "fasttruthtableplan.h"

#if FAST_TRUTH_TABLE_HAS_AVX2

#include <cstdint>
#include <cstring>
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt")
#endif

#include "fasttruthtablekernel.h"

namespace {

// Vectors = Words / 4 (1, 2 or 4).
template <int Vectors>
int ScoreOutputAvx2(const FastTruthTableView& v, int output, int live)
{
    __m256i acc[Vectors];
    __m256i select[Vectors]; // lane l of vector k tests bit 4k + l of the word mask
    for (int k = 0; k < Vectors; ++k) {
        acc[k] = _mm256_setzero_si256();
        select[k] = _mm256_set_epi64x(1ll << (4 * k + 3), 1ll << (4 * k + 2), 1ll << (4 * k + 1), 1ll << (4 * k));
    }
    for (int i = 0; i < live; ++i) {
        const uint32_t field = v.live[i];
        const __m256i pattern = _mm256_set1_epi64x(static_cast<long long>(InWordPattern(v, field)));
        const __m256i high = _mm256_set1_epi64x(v.high[field & v.highMask]);
#pragma GCC unroll 4
        for (int k = 0; k < Vectors; ++k) {
            const __m256i inWord = _mm256_cmpeq_epi64(_mm256_and_si256(high, select[k]), select[k]);
            acc[k] = _mm256_or_si256(acc[k], _mm256_and_si256(inWord, pattern));
        }
    }
    const std::size_t base = static_cast<std::size_t>(output) * Vectors * 4;
    int score = 0;
    for (int k = 0; k < Vectors; ++k) {
        const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.target + base + 4 * k));
        const __m256i care = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.care + base + 4 * k));
        const __m256i agree = _mm256_andnot_si256(_mm256_xor_si256(acc[k], target), care);
        score += PopCount64(static_cast<uint64_t>(_mm256_extract_epi64(agree, 0)));
        score += PopCount64(static_cast<uint64_t>(_mm256_extract_epi64(agree, 1)));
        score += PopCount64(static_cast<uint64_t>(_mm256_extract_epi64(agree, 2)));
        score += PopCount64(static_cast<uint64_t>(_mm256_extract_epi64(agree, 3)));
    }
    return score;
}

struct Avx2Isa {
    static void Pack(const unsigned char* cells, uint32_t count, unsigned char* packed)
    {
        uint32_t i = 0;
        for (; i + 32 <= count; i += 32) {
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells + i));
            const uint32_t zero = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(c, _mm256_setzero_si256())));
            const uint32_t bits = ~zero;
            std::memcpy(packed + i / 8, &bits, sizeof bits); // x86 is little-endian
        }
        PackCellsSwar(cells + i, count - i, packed + i / 8);
    }

    template <int Words>
    static int ScoreOutput(const FastTruthTableView& v, int output, int live)
    {
        if constexpr (Words < 4)
            return ScoreOutputWords<Words>(v, output, live);
        else
            return ScoreOutputAvx2<Words / 4>(v, output, live);
    }
};

} // namespace

int EvaluateFastTruthTableAvx2(const FastTruthTableView& view, const unsigned char* cells)
{
    return EvaluateAll<Avx2Isa>(view, cells);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif // FAST_TRUTH_TABLE_HAS_AVX2
