// What the step makes of the draws: the mutation test as an integer
// threshold, equal to the real comparison draw / 32767 < rate (extended
// precision) for every draw and every rate; jumping the generator ahead; and
// both mutation kernels against a draw-by-draw model.
#include "gadraws.h"
#include "gamutation.h"
#include "ga_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

namespace {
// The real of each draw exactly as the GA has always computed it.
std::vector<double> RealOfEveryDraw()
{
    std::vector<double> real(32768);
    for (int d = 0; d <= 32767; ++d)
        real[static_cast<std::size_t>(d)] = static_cast<double>(d * (1.0L / 32767));
    return real;
}

// Rates whose threshold is easy to get wrong: the ends, NaN, infinities,
// denormals, and every real a draw maps to together with its neighbours.
std::vector<double> AwkwardRates(const std::vector<double>& real)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> rates{nan,  -nan, 0.0, -0.0, inf, -inf, std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::min(), std::nextafter(std::numeric_limits<double>::min(), 0.0),
                              1.0, std::nextafter(1.0, 0.0), std::nextafter(1.0, 2.0), 2.0, -1.0, 0.5, 0.005, 0.01};
    for (double r : real) {
        rates.push_back(r);
        rates.push_back(std::nextafter(r, -inf));
        rates.push_back(std::nextafter(r, inf));
    }
    return rates;
}

// The draws of the generator from state, one by one.
std::vector<int> Draws(uint32_t state, std::size_t count)
{
    LcgGenerator generator;
    generator.SetState(state);
    std::vector<int> draws(count);
    for (int& d : draws)
        d = generator.Draw();
    return draws;
}
} // namespace

TEST(MutationThreshold, EqualsTheRealComparisonForEveryDrawAndRate)
{
    const std::vector<double> real = RealOfEveryDraw();
    // The reals never decrease with the draw, so the draws below any rate
    // are a prefix 0 .. T - 1 ...
    for (std::size_t d = 1; d < real.size(); ++d)
        ASSERT_LE(real[d - 1], real[d]) << d;
    EXPECT_EQ(real[0], 0.0);
    EXPECT_EQ(real[32767], 1.0);

    // ... and T is right when draw T - 1 passes and draw T fails.
    const std::vector<double> rates = AwkwardRates(real);
    for (std::size_t k = 0; k < rates.size(); ++k) {
        const double rate = rates[k];
        const uint32_t t = MutationThreshold(rate);
        ASSERT_LE(t, 32768u) << rate;
        if (t > 0) {
            ASSERT_TRUE(real[t - 1] < rate) << rate;
        }
        if (t < 32768) {
            ASSERT_FALSE(real[t] < rate) << rate;
        }
        // Every draw compared directly, for a share of the rates.
        if (k < 17 || k % 97 == 0) {
            for (int d = 0; d <= 32767; ++d)
                ASSERT_EQ(static_cast<uint32_t>(d) < t, real[static_cast<std::size_t>(d)] < rate)
                    << "rate " << rate << " draw " << d;
        }
    }

    std::mt19937_64 pick(7);
    for (int k = 0; k < 2000; ++k) {
        const double rate = static_cast<double>(pick() >> 11) / 9007199254740992.0;
        const uint32_t t = MutationThreshold(rate);
        for (int d = 0; d <= 32767; d += 1 + k % 5)
            ASSERT_EQ(static_cast<uint32_t>(d) < t, real[static_cast<std::size_t>(d)] < rate) << rate << " " << d;
    }
}

TEST(MutationThreshold, EndsAndTheDefaultRate)
{
    EXPECT_EQ(MutationThreshold(0.0), 0u);
    EXPECT_EQ(MutationThreshold(std::numeric_limits<double>::quiet_NaN()), 0u);
    EXPECT_EQ(MutationThreshold(std::numeric_limits<double>::denorm_min()), 1u); // only the draw 0
    EXPECT_EQ(MutationThreshold(1.0), 32767u);                                  // all but 32767
    EXPECT_EQ(MutationThreshold(1.5), 32768u);
    EXPECT_EQ(MutationThreshold(0.01), 328u); // 327.67 rounds up: draws 0 .. 327
    EXPECT_EQ(MutationThreshold(DrawToReal(328)), 328u);
    EXPECT_EQ(MutationThreshold(std::nextafter(DrawToReal(328), 1.0)), 329u);
}

TEST(MutationThreshold, MutateFlipsExactlyWhereTheRealComparisonDoes)
{
    const std::vector<double> real = RealOfEveryDraw();
    const uint32_t l = 4096;
    for (double rate : {DrawToReal(5), std::nextafter(DrawToReal(5), 0.0), 0.01, 0.999, 1.0}) {
        LcgGenerator random(11);
        ShuffleGenerator shuffler;
        GA ga(1, l, random, shuffler);
        ga.SetMutationRate(rate);
        Individual individual(l);
        const std::vector<int> draws = Draws(random.State(), l);
        ga.Mutate(individual);
        for (uint32_t p = 0; p < l; ++p)
            ASSERT_EQ(individual[p], real[static_cast<std::size_t>(draws[p])] < rate ? 1 : 0) << rate << " " << p;
    }
}

TEST(LcgJump, DiscardEqualsDrawingOneByOne)
{
    for (uint64_t k : {0ull, 1ull, 2ull, 7ull, 8ull, 31ull, 32ull, 33ull, 4800ull, 100000ull}) {
        for (uint32_t start : {1u, 0u, 0xDEADBEEFu}) {
            LcgGenerator stepped(start);
            LcgGenerator jumped(start);
            for (uint64_t i = 0; i < k; ++i)
                stepped.Draw();
            jumped.Discard(k);
            EXPECT_EQ(jumped, stepped) << k << " from " << start;
        }
    }
    // The period is 2^32: a full turn comes back.
    LcgGenerator turn(3);
    const LcgGenerator start = turn;
    turn.Discard(uint64_t{1} << 32);
    EXPECT_EQ(turn, start);
}

TEST(MutationKernels, MatchTheDrawByDrawModel)
{
    // Chromosomes of every length around the 32-draw blocks, children cut
    // anywhere (0 and L included) from parents with raw cells (any non-zero
    // is 1) and from zeros, at several thresholds.
    std::vector<BuildChildrenFunction> kernels{&BuildChildrenPortable};
#if GA_STEP_HAS_AVX2
    if (StepAvx2Supported())
        kernels.push_back(&BuildChildrenAvx2);
#endif
    std::mt19937 pick(3);
    std::vector<unsigned char> parents(5000);
    for (unsigned char& c : parents)
        c = static_cast<unsigned char>(pick() % 4 == 0 ? 0 : pick() % 256);
    auto parent = [&](uint32_t length) -> const unsigned char* {
        return pick() % 4 == 0 ? nullptr : parents.data() + pick() % (parents.size() - length);
    };
    const uint32_t lengths[] = {1, 2, 5, 31, 32, 33, 47, 48, 63, 64, 65, 100, 127, 128, 129, 500, 1000};
    for (uint32_t threshold : {0u, 1u, 328u, 16384u, 32767u, 32768u}) {
        for (uint32_t length : lengths) {
            const std::size_t count = 1 + pick() % 7;
            const uint32_t state = static_cast<uint32_t>(pick());
            const std::vector<int> draws = Draws(state, count * length);
            std::vector<unsigned char> expected;
            std::vector<ChildPlan> plans;
            for (std::size_t c = 0; c < count; ++c) {
                const uint32_t cuts[] = {0, length, static_cast<uint32_t>(pick() % (length + 1))};
                ChildPlan plan{nullptr, parent(length), parent(length), cuts[pick() % 3]};
                for (uint32_t p = 0; p < length; ++p) {
                    const unsigned char* from = p < plan.cut ? plan.own : plan.other;
                    const int cell = from && from[p] != 0;
                    const bool flip = static_cast<uint32_t>(draws[expected.size()]) < threshold;
                    expected.push_back(static_cast<unsigned char>(cell ^ flip));
                }
                plans.push_back(plan);
            }
            for (BuildChildrenFunction kernel : kernels) {
                // Each child in its own buffer with a guard cell after it.
                std::vector<std::vector<unsigned char>> out(count, std::vector<unsigned char>(length + 1, 0xAB));
                for (std::size_t c = 0; c < count; ++c)
                    plans[c].to = out[c].data();
                std::vector<unsigned char> scratch(length + 32);
                kernel(plans.data(), count, length, state, threshold, scratch.data());
                std::vector<unsigned char> got;
                for (const auto& child : out) {
                    got.insert(got.end(), child.begin(), child.end() - 1);
                    ASSERT_EQ(child.back(), 0xAB) << "written past the child";
                }
                ASSERT_EQ(got, expected) << "threshold " << threshold << " length " << length << " kernel "
                                         << (kernel == &BuildChildrenPortable ? "portable" : "AVX2");
            }
        }
    }
}
