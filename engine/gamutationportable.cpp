// The portable mutation kernel: eight independent generator lanes, each
// jumped eight draws at a time, in plain integer arithmetic.
#include "gamutation.h"
#include "lcggenerator.h"

#include "gamutationstream.h"

namespace {
class PortableBlock {
public:
    PortableBlock(uint32_t state, uint32_t threshold) : threshold_(threshold)
    {
        for (int j = 0; j < Lanes; ++j)
            lanes_[j] = Jumps.jump[j].Apply(state);
    }

    void Fill32(unsigned char* flips)
    {
        for (int round = 0; round < BlockDraws / Lanes; ++round)
            for (int j = 0; j < Lanes; ++j) {
                flips[round * Lanes + j] = static_cast<uint32_t>(DrawOf(lanes_[j])) < threshold_;
                lanes_[j] = step_.Apply(lanes_[j]);
            }
    }

private:
    static constexpr int Lanes = 8;
    static constexpr LcgJump step_ = Jumps.jump[Lanes - 1];
    uint32_t lanes_[Lanes];
    uint32_t threshold_;
};

struct PortableCombine {
    static void Child(const ChildPlan& child, uint32_t length, const unsigned char* flips)
    {
        CombineCells(child, length, flips);
    }
};
} // namespace

void BuildChildrenPortable(const ChildPlan* children, std::size_t count, uint32_t length, uint32_t state,
                           uint32_t threshold, unsigned char* scratch)
{
    BuildChildrenWith<PortableBlock, PortableCombine>(children, count, length, state, threshold, scratch);
}

bool StepAvx2Supported()
{
#if GA_STEP_HAS_AVX2
    // Also checks that the operating system saves the AVX registers.
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported;
#else
    return false;
#endif
}
