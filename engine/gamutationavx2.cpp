// The AVX2 mutation kernel: four registers of eight generator lanes give 32
// draws at a time (each register jumps 32 draws ahead), and a child is
// written 32 cells at a time. Only this unit is compiled for AVX2 (through a
// target pragma, not a compiler flag), so the program still runs on any
// x86-64; the GA calls it only after a CPU check.
#include "gamutation.h"
#include "lcggenerator.h"

#if GA_STEP_HAS_AVX2

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "gamutationstream.h"

namespace {
__m256i Broadcast(uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }

class Avx2Block {
public:
    Avx2Block(uint32_t state, uint32_t threshold)
        : multiplier_(Broadcast(Jumps.jump[BlockDraws - 1].multiplier)),
          increment_(Broadcast(Jumps.jump[BlockDraws - 1].increment)), threshold_(Broadcast(threshold))
    {
        const __m256i start = Broadcast(state);
        for (int r = 0; r < Registers; ++r) {
            alignas(32) uint32_t multipliers[8];
            alignas(32) uint32_t increments[8];
            for (int j = 0; j < 8; ++j) {
                multipliers[j] = Jumps.jump[8 * r + j].multiplier;
                increments[j] = Jumps.jump[8 * r + j].increment;
            }
            lanes_[r] = _mm256_add_epi32(
                _mm256_mullo_epi32(start, _mm256_load_si256(reinterpret_cast<const __m256i*>(multipliers))),
                _mm256_load_si256(reinterpret_cast<const __m256i*>(increments)));
        }
    }

    // 32 bytes, 1 where the draw is below the threshold, in draw order; then
    // every lane moves 32 draws on.
    void Fill32(unsigned char* flips)
    {
        const __m256i drawMask = _mm256_set1_epi32(0x7FFF);
        __m256i below[Registers];
        for (int r = 0; r < Registers; ++r) {
            const __m256i draws = _mm256_and_si256(_mm256_srli_epi32(lanes_[r], 16), drawMask);
            below[r] = _mm256_cmpgt_epi32(threshold_, draws); // -1 where draw < threshold
            lanes_[r] = _mm256_add_epi32(_mm256_mullo_epi32(lanes_[r], multiplier_), increment_);
        }
        // The packs work within 128-bit halves: the bytes come out as draws
        // 0-3, 8-11, 16-19, 24-27, 4-7, 12-15, 20-23, 28-31; the permute puts
        // the groups of four back in order.
        const __m256i words01 = _mm256_packs_epi32(below[0], below[1]);
        const __m256i words23 = _mm256_packs_epi32(below[2], below[3]);
        const __m256i bytes = _mm256_packs_epi16(words01, words23);
        const __m256i ordered = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(flips), _mm256_and_si256(ordered, _mm256_set1_epi8(1)));
    }

private:
    static constexpr int Registers = BlockDraws / 8;
    __m256i lanes_[Registers];
    __m256i multiplier_;
    __m256i increment_;
    __m256i threshold_;
};

struct Avx2Combine {
    static void Child(const ChildPlan& child, uint32_t length, const unsigned char* flips)
    {
        if (length < BlockDraws) {
            CombineCells(child, length, flips);
            return;
        }
        // Blocks of 32 cells; the last one is moved back to end at the last
        // cell and rewrites some cells with the same values.
        for (uint32_t p = 0;; p += BlockDraws) {
            const uint32_t at = p + BlockDraws <= length ? p : length - BlockDraws;
            Combine32(child, at, flips);
            if (at + BlockDraws >= length)
                break;
        }
    }

    static __m256i Load(const unsigned char* cells, uint32_t at)
    {
        return cells ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells + at)) : _mm256_setzero_si256();
    }

    static void Combine32(const ChildPlan& child, uint32_t at, const unsigned char* flips)
    {
        // Cell j of the block comes from `own` when at + j < cut.
        const int64_t ownCells = int64_t{child.cut} - at;
        const auto fromOwn = static_cast<char>(ownCells < 0 ? 0 : ownCells > BlockDraws ? BlockDraws : ownCells);
        const __m256i index = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                               19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
        const __m256i takeOwn = _mm256_cmpgt_epi8(_mm256_set1_epi8(fromOwn), index);
        const __m256i cells = _mm256_blendv_epi8(Load(child.other, at), Load(child.own, at), takeOwn);
        const __m256i zero = _mm256_cmpeq_epi8(cells, _mm256_setzero_si256());
        const __m256i bits = _mm256_andnot_si256(zero, _mm256_set1_epi8(1));
        const __m256i mutated = _mm256_xor_si256(bits, Load(flips, at));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(child.to + at), mutated);
    }
};
} // namespace

void BuildChildrenAvx2(const ChildPlan* children, std::size_t count, uint32_t length, uint32_t state,
                       uint32_t threshold, unsigned char* scratch)
{
    BuildChildrenWith<Avx2Block, Avx2Combine>(children, count, length, state, threshold, scratch);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif // GA_STEP_HAS_AVX2
