// FastTruthTableFitness::Evaluate runs for every individual of every
// generation: once prepared it must not touch the heap. This executable
// replaces the global operator new to count allocations.
#include "bitstring.h"
#include "fasttruthtablefitness.h"
#include "truthtable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(FastTruthTableFitness, EvaluateDoesNotAllocate)
{
    for (PalConfig c : {PalConfig{}, PalConfig{8, 8, 4}, PalConfig{10, 40, 10}, PalConfig{1, 1, 1}}) {
        TruthTable table = MakeTruthTable(c);
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = static_cast<int32_t>(i % 3) - 1;
        BitString chromosome(static_cast<uint32_t>(c.ChromosomeSize()));
        for (uint32_t i = 0; i < chromosome.Size(); i += 7)
            chromosome[i] = 1;
        for (auto kernel : {FastTruthTableFitness::Kernel::Portable, FastTruthTableFitness::Kernel::Avx2}) {
            FastTruthTableFitness fast;
            if (!fast.UseKernel(kernel))
                continue;
            fast.Prepare(c, table);
            double sum = 0;
            const long before = allocations.load();
            for (int i = 0; i < 100; ++i)
                sum += fast.Evaluate(chromosome);
            EXPECT_EQ(allocations.load() - before, 0) << c.NumInputs << "/" << c.NumAndTerms << "/" << c.NumOutputs;
            EXPECT_GE(sum, 0.0);
        }
    }
}
