// orvik-robot-ceiling [--best] ARENA A,B,C,D [THRESHOLD]: how high an
// assessment mean can go at all. The robot PAL is combinational, so every
// controller it can hold is a table from the 16 input combinations to 4
// output bits. This searches those tables on the 20 start places that
// `orvik-batch --robot --assess 20 --assess-arena ARENA` uses (seed 1), with
// the motor table A,B,C,D. A coordinate descent from a hand-made avoider
// (every value of one entry tried in turn, kept when the mean rises, until a
// sweep changes nothing) gives a good table quickly; branch and bound then
// settles whether any table reaches the assessment's pass mark, or with
// --best which table is best (slower: it must beat the descent's mean rather
// than the pass mark). Scored on the very places it is assessed on, the best
// table is a ceiling for anything evolved.
#include "arena_file.h"
#include "bestcontroller.h"
#include "proximitygroups.h"
#include "robotassessment.h"
#include "start_places.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>

namespace {
// Full speed ahead in the open, a spin away from what the sides or the front
// see: codes 3 (the table's last speed) and 0 (its first).
ControllerTable HandMadeAvoider()
{
    ControllerTable table {};
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
    const bool best = argc > 1 && std::string(argv[1]) == "--best";
    if (best) {
        --argc;
        ++argv;
    }
    MotorTable motor {};
    if (argc < 3 || argc > 4
        || std::sscanf(argv[2], "%d,%d,%d,%d", &motor[0], &motor[1], &motor[2], &motor[3]) != 4) {
        std::fprintf(stderr, "usage: orvik-robot-ceiling [--best] ARENA A,B,C,D [THRESHOLD]\n");
        return 2;
    }
    const ksim::ArenaFileContent content = ksim::chooseArena(argv[1]);
    if (!content.arena) {
        std::fprintf(stderr, "orvik-robot-ceiling: %s\n", ksim::arenaFileProblem(argv[1], content).c_str());
        return 2;
    }
    unsigned threshold = DefaultProximityThreshold;
    char rest = 0;
    if (argc == 4 && (std::sscanf(argv[3], "%u%c", &threshold, &rest) != 1 || threshold > 1023)) {
        std::fprintf(stderr, "orvik-robot-ceiling: the threshold %s is not a whole number from 0 to 1023\n", argv[3]);
        return 2;
    }
    ksim::StartPlaces places(1);
    const std::vector<ksim::Pose> starts = places.spread(*content.arena, content.start, 20);
    const RobotRunSettings settings {RobotTablePal, motor, threshold, 10};
    const auto figures = [&](const ControllerTable& table) {
        return FiguresOf(AssessController(settings, 0.0, TableChromosome(table), *content.arena, starts));
    };

    const auto t0 = std::chrono::steady_clock::now();
    ControllerTable table = HandMadeAvoider();
    double descentMean = figures(table).mean;
    for (bool changed = true; changed;) {
        changed = false;
        for (int c = 0; c < 16; ++c)
            for (int value = 0; value < 16; ++value) {
                ControllerTable tried = table;
                tried[c] = value;
                const double mean = figures(tried).mean;
                if (mean > descentMean) {
                    descentMean = mean;
                    table = tried;
                    changed = true;
                }
            }
    }
    // A pass mark under the descent's mean is settled by the descent.
    const double floor = best ? descentMean : std::max(AssessmentPassMean, descentMean);
    const BestControllerResult searched = BestController(*content.arena, starts, motor, threshold, 10, floor);
    if (searched.found)
        table = searched.table;
    const AssessmentFigures found = figures(table);
    std::printf("%s, motor table %d,%d,%d,%d, threshold %u: ", argv[1], motor[0], motor[1], motor[2], motor[3],
                threshold);
    if (found.mean >= AssessmentPassMean)
        std::printf("a mean of %.1f is within reach; ", AssessmentPassMean);
    else
        std::printf("no controller reaches a mean of %.1f; ", AssessmentPassMean);
    std::printf("the %s controller's mean is %.4f (worst %.4f, %u of %u runs stalled); table",
                best || searched.found ? "best" : "best found", found.mean, found.worst, found.stalled,
                found.runs);
    for (const int entry : table)
        std::printf(" %d", entry);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf(" (%llu nodes, %.0f s)\n", static_cast<unsigned long long>(searched.nodes), seconds);
}
