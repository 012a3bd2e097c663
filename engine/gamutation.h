#pragma once
// The bulk of the generation step: writing the children of the new
// generation from their parents' cells while mutating them. One draw of the
// GA's LcgGenerator decides each cell, child by child and cell by cell, as
// Mutate draws once per bit member by member. Two kernels give identical
// results: a portable one and, on x86-64 processors with AVX2, one that
// takes 32 draws at a time (eight generator lanes a register, jumped ahead
// with LcgJump) and writes 32 cells at a time; the GA picks one at run time.
#include <cstddef>
#include <cstdint>

// One child: its cells below `cut` come from `own`, the others from `other`
// (a parent's cells, any non-zero cell meaning 1; null stands for zeros).
struct ChildPlan {
    unsigned char* to;
    const unsigned char* own;
    const unsigned char* other;
    uint32_t cut;
};

// Writes every child's `length` cells as 0 or 1, in order, flipping cell p of
// child c when draw c x length + p of the generator whose state is `state` is
// below `threshold` (MutationThreshold, 0 .. 32768); draw k is taken from the
// state after k + 1 steps. `scratch` holds at least length + 32 bytes. Leaves
// the generator to the caller, which moves it on by count x length draws.
using BuildChildrenFunction = void (*)(const ChildPlan* children, std::size_t count, uint32_t length,
                                       uint32_t state, uint32_t threshold, unsigned char* scratch);

void BuildChildrenPortable(const ChildPlan* children, std::size_t count, uint32_t length, uint32_t state,
                           uint32_t threshold, unsigned char* scratch);

#if defined(__x86_64__) && defined(__GNUC__)
#define GA_STEP_HAS_AVX2 1
// May be called only when the processor has AVX2 (StepAvx2Supported).
void BuildChildrenAvx2(const ChildPlan* children, std::size_t count, uint32_t length, uint32_t state,
                       uint32_t threshold, unsigned char* scratch);
#else
#define GA_STEP_HAS_AVX2 0
#endif

// Whether this build and this processor can run the AVX2 kernel.
bool StepAvx2Supported();
