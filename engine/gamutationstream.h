#pragma once
// The walk over the children shared by both mutation kernels (included by
// each kernel's unit, inside its instruction-set settings). A Block holds
// the generator lanes of one child and writes the flips of its next 32 draws
// (1 where the draw is below the threshold):
//   Block(state, threshold);
//   void Fill32(unsigned char* flips);
// and a Combine writes one child from its plan and its flips:
//   void Combine(const ChildPlan& child, uint32_t length, const unsigned char* flips);
// Each child's lanes start from the generator's state at the child's first
// draw, jumped there, so a child's flips never spill into the next.
//
// Include only from those units, after gamutation.h and lcggenerator.h (so
// that their inline functions are compiled outside any target pragma).
// Everything here has internal linkage, so that code compiled for a wider
// instruction set can never be picked by the linker for a caller elsewhere;
// for the same reason it uses no standard-library templates.
#include "gamutation.h"
#include "lcggenerator.h"

#include <cstring>

namespace {
constexpr int BlockDraws = 32;

struct BlockJumps {
    LcgJump jump[BlockDraws]; // jump[k] moves a state on by k + 1 draws
};

constexpr BlockJumps MakeBlockJumps()
{
    BlockJumps jumps{};
    for (int k = 0; k < BlockDraws; ++k)
        jumps.jump[k] = LcgJump::Over(static_cast<uint64_t>(k) + 1);
    return jumps;
}

constexpr BlockJumps Jumps = MakeBlockJumps();

constexpr int DrawOf(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFF); }

// 1 in every byte of x that is not 0, else 0.
inline uint64_t NonZeroBytes(uint64_t x)
{
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    return ((((x & low7) + low7) | x) >> 7) & 0x0101010101010101ull;
}

// to[p] = (cells[p] != 0) ^ flips[p] for p in begin .. end - 1, eight cells
// at a time; null cells are zeros.
inline void CombineRange(unsigned char* to, const unsigned char* cells, uint32_t begin, uint32_t end,
                         const unsigned char* flips)
{
    uint32_t p = begin;
    for (; p + 8 <= end; p += 8) {
        uint64_t bits = 0;
        uint64_t flip = 0;
        if (cells) {
            std::memcpy(&bits, cells + p, 8);
            bits = NonZeroBytes(bits);
        }
        std::memcpy(&flip, flips + p, 8);
        bits ^= flip;
        std::memcpy(to + p, &bits, 8);
    }
    for (; p < end; ++p)
        to[p] = static_cast<unsigned char>((cells ? cells[p] != 0 : 0) ^ flips[p]);
}

// A whole child: own cells below the cut, the other's from there.
inline void CombineCells(const ChildPlan& child, uint32_t length, const unsigned char* flips)
{
    const uint32_t cut = child.cut < length ? child.cut : length;
    CombineRange(child.to, child.own, 0, cut, flips);
    CombineRange(child.to, child.other, cut, length, flips);
}

template <class Block, class Combine>
void BuildChildrenWith(const ChildPlan* children, std::size_t count, uint32_t length, uint32_t state,
                       uint32_t threshold, unsigned char* scratch)
{
    const LcgJump overChild = LcgJump::Over(length);
    if (threshold == 0)
        std::memset(scratch, 0, length);
    for (std::size_t c = 0; c < count; ++c) {
        if (threshold != 0) {
            Block block(state, threshold);
            for (uint32_t p = 0; p < length; p += BlockDraws)
                block.Fill32(scratch + p);
        }
        Combine::Child(children[c], length, scratch);
        state = overChild.Apply(state);
    }
}
} // namespace
