#include "esstep.h"

#include "gadraws.h"
#include "gamutation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Per thread, so that runs on separate threads never share them and a step
// allocates nothing once the length is settled.
struct ESBuffers {
    std::vector<unsigned char> parent;  // the parent's cells as 0 or 1
    std::vector<unsigned char> scratch; // the mutation kernel's, L + 32 cells
    std::vector<uint32_t> taken;        // ExactBits: positions flipped so far
    // MutationThreshold of the last rate asked for (its bisection costs about
    // as much as mutating a short chromosome).
    double thresholdRate = -1.0;
    uint32_t threshold = 0;

    uint32_t Threshold(double rate)
    {
        if (rate != thresholdRate) {
            threshold = MutationThreshold(rate);
            thresholdRate = rate;
        }
        return threshold;
    }
};

ESBuffers& Buffers()
{
    thread_local ESBuffers buffers;
    return buffers;
}

void CheckPopulation(const GA& ga)
{
    const uint32_t n = ga.GetPopulationSize();
    if (n < 2)
        throw EGA("GA: the evolution strategy needs a parent and at least one offspring");
    const uint32_t length = ga.GetChromosomeLength();
    for (uint32_t i = 0; i < n; ++i)
        if (ga.At(i).Size() != length)
            throw EGA("GA: chromosome length differs from the population's");
}

// The fittest offspring (the first of equals) replaces the parent when it is
// at least as fit.
void SelectParent(GA& ga)
{
    const uint32_t n = ga.GetPopulationSize();
    uint32_t best = 1;
    for (uint32_t i = 2; i < n; ++i)
        if (ga.At(i).GetFitness() > ga.At(best).GetFitness())
            best = i;
    if (ga.At(best).GetFitness() >= ga.At(0).GetFitness())
        ga.At(0) = ga.At(best);
}

// Whether n cells agree, eight at a time (inline: a library call costs as much
// as comparing a short chromosome).
bool SameCells(const unsigned char* a, const unsigned char* b, uint32_t n)
{
    uint32_t p = 0;
    uint64_t differ = 0;
    for (; p + 8 <= n; p += 8) {
        uint64_t x = 0;
        uint64_t y = 0;
        std::memcpy(&x, a + p, 8);
        std::memcpy(&y, b + p, 8);
        differ |= x ^ y;
    }
    for (; p < n; ++p)
        differ |= static_cast<uint64_t>(a[p] ^ b[p]);
    return differ == 0;
}

// Every cell copied from the parent and flipped where its draw is below the
// threshold, with the step's kernel (which takes the draws in blocks); drawn
// again while nothing flipped.
void MutatePerBit(GA& ga, const unsigned char* parent, uint32_t threshold, ESBuffers& buffers)
{
    const uint32_t length = ga.GetChromosomeLength();
    const BuildChildrenFunction build =
#if GA_STEP_HAS_AVX2
        ga.ActiveStepKernel() == GA::StepKernel::Avx2 ? &BuildChildrenAvx2 :
#endif
                                                      &BuildChildrenPortable;
    buffers.scratch.resize(std::size_t{length} + 32);
    const LcgJump overChild = LcgJump::Over(length);
    LcgGenerator& random = ga.Random();
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i) {
        unsigned char* to = ga.At(i).MutableData();
        const ChildPlan plan{to, parent, parent, length};
        do {
            build(&plan, 1, length, random.State(), threshold, buffers.scratch.data());
            random.SetState(overChild.Apply(random.State()));
        } while (SameCells(to, parent, length));
    }
}

uint32_t DrawPosition(LcgGenerator& random, uint32_t length)
{
    if (length <= LcgGenerator::Max + 1u)
        return static_cast<uint32_t>(random.Draw()) % length;
    const auto high = static_cast<uint32_t>(random.Draw());
    return ((high << 15) | static_cast<uint32_t>(random.Draw())) % length;
}

void MutateExactBits(GA& ga, const unsigned char* parent, uint32_t bits, ESBuffers& buffers)
{
    const uint32_t length = ga.GetChromosomeLength();
    const uint32_t flips = std::min(std::max(bits, 1u), length);
    LcgGenerator& random = ga.Random();
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i) {
        unsigned char* to = ga.At(i).MutableData();
        std::memcpy(to, parent, length);
        buffers.taken.clear();
        while (buffers.taken.size() < flips) {
            const uint32_t position = DrawPosition(random, length);
            if (std::find(buffers.taken.begin(), buffers.taken.end(), position) != buffers.taken.end())
                continue;
            buffers.taken.push_back(position);
            to[position] ^= 1;
        }
    }
}

void MutateFusePairs(GA& ga, const unsigned char* parent, uint32_t threshold)
{
    const uint32_t length = ga.GetChromosomeLength();
    LcgGenerator& random = ga.Random();
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i) {
        unsigned char* to = ga.At(i).MutableData();
        bool changed = false;
        while (!changed) {
            std::memcpy(to, parent, length);
            uint32_t p = 0;
            for (; p + 1 < length; p += 2) {
                if (static_cast<uint32_t>(random.Draw()) >= threshold)
                    continue;
                const int change = 1 + random.Draw() % 3;
                to[p] ^= static_cast<unsigned char>(change & 1);
                to[p + 1] ^= static_cast<unsigned char>(change >> 1);
                changed = true;
            }
            if (p < length && static_cast<uint32_t>(random.Draw()) < threshold) {
                to[p] ^= 1;
                changed = true;
            }
        }
    }
}

} // namespace

double ESMutationRate(const ESMutation& mutation, uint32_t length)
{
    if (!(mutation.rate > 0.0)) {
        const double changes = mutation.kind == ESMutation::Kind::FusePairs ? 2.0 : 1.0;
        return std::min(1.0, changes / std::max(length, 1u));
    }
    return std::min(mutation.rate, 1.0);
}

void NextGenerationES(GA& ga, const ESMutation& mutation)
{
    CheckPopulation(ga);
    SelectParent(ga);

    const uint32_t length = ga.GetChromosomeLength();
    ESBuffers& buffers = Buffers();
    const Individual& parent = ga.At(0);
    buffers.parent.resize(length);
    for (uint32_t p = 0; p < length; ++p)
        buffers.parent[p] = parent.Data()[p] != 0;
    const double fitness = parent.GetFitness();
    const uint32_t threshold = buffers.Threshold(ESMutationRate(mutation, length));

    switch (mutation.kind) {
    case ESMutation::Kind::PerBit:
        MutatePerBit(ga, buffers.parent.data(), threshold, buffers);
        break;
    case ESMutation::Kind::ExactBits:
        MutateExactBits(ga, buffers.parent.data(), mutation.bits, buffers);
        break;
    case ESMutation::Kind::FusePairs:
        MutateFusePairs(ga, buffers.parent.data(), threshold);
        break;
    }
    for (uint32_t i = 1; i < ga.GetPopulationSize(); ++i)
        ga.At(i).SetFitness(fitness);
    ga.SetGeneration(ga.GetGeneration() + 1);
}
