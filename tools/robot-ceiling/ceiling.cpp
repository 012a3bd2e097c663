// orvik-robot-ceiling ARENA A,B,C,D [THRESHOLD]: how high an assessment
// mean can go at all. The robot PAL is combinational, so every controller
// it can hold is a table from the 16 input combinations to 4 output bits.
// This searches those tables directly on the 20 start places that
// `orvik-batch --robot --assess 20 --assess-arena ARENA` uses (seed 1), with
// the motor table A,B,C,D: coordinate descent (every value of one entry
// tried in turn, kept when the mean rises, until a sweep changes nothing)
// from a hand-made avoider and from three seeded random tables. What it
// finds is an upper estimate for evolution: it is scored on the very places
// it is assessed on.
#include "arena_file.h"
#include "robotassessment.h"
#include "start_places.h"

#include <array>
#include <cstdio>
#include <random>
#include <string>

namespace {
using Table = std::array<int, 16>; // the 4 output bits (output 0 highest) of each input combination

constexpr int Inputs = 4;
constexpr int Terms = 16; // one minterm per input combination
constexpr int Outputs = 4;

// The table as a PAL of 16 AND terms per output: term c of output o is the
// minterm of combination c where the table sets that output, else a term that
// needs input 0 both set and clear, which is never true.
BitString Chromosome(const Table& table)
{
    BitString bits(Outputs * Terms * Inputs * 2);
    for (int o = 0; o < Outputs; ++o)
        for (int c = 0; c < Terms; ++c) {
            const auto fuse = [&](int i, int p) -> unsigned char& { return bits[((o * Terms + c) * Inputs + i) * 2 + p]; };
            if ((table[c] >> (Outputs - 1 - o)) & 1) {
                for (int i = 0; i < Inputs; ++i)
                    fuse(i, ((c >> (Inputs - 1 - i)) & 1) ? 0 : 1) = 1;
            } else {
                fuse(0, 0) = 1;
                fuse(0, 1) = 1;
            }
        }
    return bits;
}

// Full speed ahead in the open, a spin away from what the sides or the front
// see: codes 3 (the table's last speed) and 0 (its first).
Table HandMadeAvoider()
{
    Table table {};
    for (int c = 0; c < 16; ++c) {
        const bool left = c & 8, front = c & 4, right = c & 2;
        int l = 3, r = 3;
        if (right && !left)
            l = 0;
        else if (left || front)
            r = 0;
        table[c] = l * 4 + r;
    }
    return table;
}
} // namespace

int main(int argc, char** argv)
{
    MotorTable motor {};
    if (argc < 3 || argc > 4
        || std::sscanf(argv[2], "%d,%d,%d,%d", &motor[0], &motor[1], &motor[2], &motor[3]) != 4) {
        std::fprintf(stderr, "usage: orvik-robot-ceiling ARENA A,B,C,D [THRESHOLD]\n");
        return 2;
    }
    const ksim::ArenaFileContent content = ksim::chooseArena(argv[1]);
    if (!content.arena) {
        std::fprintf(stderr, "orvik-robot-ceiling: %s\n", ksim::arenaFileProblem(argv[1], content).c_str());
        return 2;
    }
    const uint32_t threshold = argc == 4 ? static_cast<uint32_t>(std::stoul(argv[3])) : 300;
    ksim::StartPlaces places(1);
    const std::vector<ksim::Pose> starts = places.spread(*content.arena, content.start, 20);
    const RobotRunSettings settings {PalConfig {Inputs, Terms, Outputs}, motor, threshold, 10};
    const auto figures = [&](const Table& table) {
        return FiguresOf(AssessController(settings, 0.0, Chromosome(table), *content.arena, starts));
    };

    for (unsigned seed = 0; seed < 4; ++seed) {
        Table best = HandMadeAvoider();
        std::mt19937 generator(seed);
        if (seed > 0)
            for (int& entry : best)
                entry = static_cast<int>(generator() % 16);
        double bestMean = figures(best).mean;
        for (bool changed = true; changed;) {
            changed = false;
            for (int c = 0; c < 16; ++c)
                for (int value = 0; value < 16; ++value) {
                    Table table = best;
                    table[c] = value;
                    const double mean = figures(table).mean;
                    if (mean > bestMean) {
                        bestMean = mean;
                        best = table;
                        changed = true;
                    }
                }
        }
        const AssessmentFigures found = figures(best);
        std::printf("%s from %s: mean %.4f, worst %.4f, %u of %u runs stalled; table", argv[1],
                    seed == 0 ? "the hand-made avoider" : ("random table " + std::to_string(seed)).c_str(),
                    found.mean, found.worst, found.stalled, found.runs);
        for (const int entry : best)
            std::printf(" %d", entry);
        std::printf("\n");
        std::fflush(stdout);
    }
}
