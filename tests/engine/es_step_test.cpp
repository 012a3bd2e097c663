// The (1+λ) evolution strategy's step: draw for draw against the step written
// out plainly, parent selection (ties to the offspring), at least one change
// per offspring, and a saved population continuing the same run.
#include "esstep.h"
#include "ga_test_support.h"
#include "gadraws.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {
using Kind = ESMutation::Kind;
using Cells = std::vector<std::vector<int>>;

Cells CellsOf(const GA& ga)
{
    Cells cells(ga.GetPopulationSize());
    for (uint32_t i = 0; i < ga.GetPopulationSize(); ++i)
        for (uint32_t p = 0; p < ga.GetChromosomeLength(); ++p)
            cells[i].push_back(ga.At(i)[p]);
    return cells;
}

// The step as written from its description, on plain vectors.
void PlainStep(Cells& cells, std::vector<double>& fitness, LcgGenerator& random, const ESMutation& mutation)
{
    const auto length = static_cast<uint32_t>(cells[0].size());
    std::size_t best = 1;
    for (std::size_t i = 2; i < cells.size(); ++i)
        if (fitness[i] > fitness[best])
            best = i;
    if (fitness[best] >= fitness[0]) {
        cells[0] = cells[best];
        fitness[0] = fitness[best];
    }
    const double rate = ESMutationRate(mutation, length);
    for (std::size_t i = 1; i < cells.size(); ++i) {
        std::vector<int> child = cells[0];
        if (mutation.kind == Kind::ExactBits) {
            std::set<uint32_t> taken;
            while (taken.size() < std::min(mutation.bits, length)) {
                const uint32_t p = static_cast<uint32_t>(random.Draw()) % length;
                if (taken.insert(p).second)
                    child[p] ^= 1;
            }
        }
        while (child == cells[0] && mutation.kind == Kind::PerBit)
            for (uint32_t p = 0; p < length; ++p)
                child[p] ^= DrawToReal(random.Draw()) < rate ? 1 : 0;
        while (child == cells[0] && mutation.kind == Kind::FusePairs)
            for (uint32_t p = 0; p < length; p += 2)
                if (DrawToReal(random.Draw()) < rate) {
                    if (p + 1 == length) { // a last odd bit: flipped on one draw
                        child[p] ^= 1;
                        continue;
                    }
                    const int change = 1 + random.Draw() % 3;
                    child[p] ^= change & 1;
                    child[p + 1] ^= change >> 1;
                }
        cells[i] = child;
        fitness[i] = fitness[0];
    }
}

struct DrawCase {
    const char* name;
    uint32_t n;
    uint32_t l;
    ESMutation mutation;
};

TEST(ESStep, MatchesThePlainStepDrawForDraw)
{
    const DrawCase cases[] = {
        {"per bit 1/L, lambda 4", 5, 48, {Kind::PerBit, 0.0, 1}},
        {"per bit 0.3, odd length", 3, 37, {Kind::PerBit, 0.3, 1}},
        {"per bit, long chromosome", 9, 500, {Kind::PerBit, 0.01, 1}},
        {"one offspring, rate 1", 2, 10, {Kind::PerBit, 1.0, 1}},
        {"exactly 3 bits", 5, 48, {Kind::ExactBits, 0.0, 3}},
        {"more bits than the length", 4, 6, {Kind::ExactBits, 0.0, 9}},
        {"fuse pairs 2/L", 5, 48, {Kind::FusePairs, 0.0, 1}},
        {"fuse pairs, odd length", 4, 9, {Kind::FusePairs, 0.2, 1}},
    };
    for (const DrawCase& c : cases) {
        for (GA::StepKernel kernel : {GA::StepKernel::Portable, GA::StepKernel::Avx2}) {
            SCOPED_TRACE(c.name);
            LcgGenerator random(7);
            ShuffleGenerator shuffler;
            GA ga(c.n, c.l, random, shuffler);
            if (!ga.UseStepKernel(kernel))
                continue;
            LcgGenerator plainRandom = random;
            Cells cells = CellsOf(ga);
            std::vector<double> fitness(c.n);
            for (int generation = 0; generation < 40; ++generation) {
                // Fitness with ties and the odd improvement, so that the
                // parent changes hands in every way.
                for (uint32_t i = 0; i < c.n; ++i) {
                    fitness[i] = static_cast<double>((i * 7 + static_cast<uint32_t>(generation) * 3) % 4);
                    ga.At(i).SetFitness(fitness[i]);
                }
                NextGenerationES(ga, c.mutation);
                PlainStep(cells, fitness, plainRandom, c.mutation);
                ASSERT_EQ(CellsOf(ga), cells) << "generation " << generation;
                for (uint32_t i = 0; i < c.n; ++i)
                    ASSERT_EQ(ga.At(i).GetFitness(), fitness[i]);
                ASSERT_EQ(random, plainRandom);
            }
            EXPECT_EQ(ga.GetGeneration(), 40);
            EXPECT_EQ(shuffler, ShuffleGenerator());
        }
    }
}

TEST(ESStep, ParentSelection)
{
    struct Case {
        const char* name;
        std::vector<double> fitness;
        uint32_t newParent; // whose bits individual 0 holds after the step
    };
    const Case cases[] = {
        {"all offspring worse: parent kept", {5, 4, 1, 4.5}, 0},
        {"a tie goes to the offspring", {5, 3, 5, 2}, 2},
        {"the first of equal best offspring", {1, 3, 2, 3}, 1},
        {"the fittest offspring", {1, 2, 9, 3}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto n = static_cast<uint32_t>(c.fitness.size());
        LcgGenerator random;
        ShuffleGenerator shuffler;
        GA ga(n, 30, random, shuffler);
        for (uint32_t i = 0; i < n; ++i)
            ga.At(i).SetFitness(c.fitness[i]);
        const std::string winner = Bits(ga.At(c.newParent));
        NextGenerationES(ga, ESMutation {});
        EXPECT_EQ(Bits(ga.At(0)), winner);
        for (uint32_t i = 0; i < n; ++i)
            EXPECT_EQ(ga.At(i).GetFitness(), c.fitness[c.newParent]);
    }
}

TEST(ESStep, EveryOffspringDiffersFromItsParent)
{
    // Rate 1e-9 flips a bit only on draw 0: nearly every pass flips nothing.
    for (const ESMutation& mutation :
         {ESMutation {Kind::PerBit, 1e-9, 1}, ESMutation {Kind::FusePairs, 1e-9, 1}, ESMutation {Kind::PerBit, 0.0, 1}}) {
        LcgGenerator random(3);
        ShuffleGenerator shuffler;
        GA ga(5, 4, random, shuffler);
        for (int generation = 0; generation < 50; ++generation) {
            NextGenerationES(ga, mutation);
            for (uint32_t i = 1; i < 5; ++i)
                ASSERT_NE(Bits(ga.At(i)), Bits(ga.At(0)));
        }
    }
}

TEST(ESStep, RefusesWhatItCannotStep)
{
    GA single(1, 8);
    EXPECT_THROW(NextGenerationES(single, ESMutation {}), EGA);
    GA ga(3, 8);
    const std::string parent = Bits(ga.At(0));
    ga.At(2) = Individual(9);
    EXPECT_THROW(NextGenerationES(ga, ESMutation {}), EGA);
    EXPECT_EQ(Bits(ga.At(0)), parent);
    EXPECT_EQ(ga.GetGeneration(), 0);
}

TEST(ESStep, ASavedPopulationContinuesTheSameRun)
{
    const auto path = std::filesystem::temp_directory_path() / "orvik-es-continue.ga";
    std::filesystem::remove(path);
    LcgGenerator random(11);
    ShuffleGenerator shuffler;
    GA ga(5, 24, random, shuffler);
    auto evaluate = [](GA& g) {
        for (uint32_t i = 0; i < g.GetPopulationSize(); ++i) {
            int ones = 0;
            for (uint32_t p = 0; p < g.GetChromosomeLength(); ++p)
                ones += g.At(i)[p];
            g.At(i).SetFitness(ones);
        }
        g.RecordGeneration();
    };
    for (int generation = 0; generation < 10; ++generation) {
        evaluate(ga);
        NextGenerationES(ga, ESMutation {});
    }
    evaluate(ga);
    ASSERT_TRUE(ga.SaveGeneration(path.string()));

    GA loaded(1, 1);
    LcgGenerator loadedRandom = random;
    ShuffleGenerator loadedShuffler;
    loaded.UseGenerators(loadedRandom, loadedShuffler);
    ASSERT_TRUE(loaded.LoadGeneration(path.string(), 10));
    for (int generation = 0; generation < 10; ++generation) {
        NextGenerationES(ga, ESMutation {});
        NextGenerationES(loaded, ESMutation {});
        evaluate(ga);
        evaluate(loaded);
        ASSERT_EQ(CellsOf(loaded), CellsOf(ga));
    }
    EXPECT_EQ(loaded.GetGeneration(), 20);
    std::filesystem::remove(path);
}
} // namespace
