#pragma once
// The assessment of a controller: how well it drives from a fixed set of
// start places, the same for every controller assessed, so that figures of
// different runs, settings and strategies compare. Each run starts in a
// world of its own at its place with its wheels stopped; its sensor noise,
// if any, is seeded from the place's number.
#include "kinematics.h"
#include "robotevaluation.h"

#include <cstdint>
#include <vector>

namespace ksim {
class Arena;
}

// A controller passes in an arena when its mean is at least this and none of
// its runs there ended stalled. (A mean this high needs forward motion: a
// robot backing at full speed earns at most 0.5 a step.)
inline constexpr double AssessmentPassMean = 0.8;

struct AssessedRun {
    ksim::Pose start;
    TracedRun run;
};

// Runs `chromosome` once from each of `starts` in `arena`.
std::vector<AssessedRun> AssessController(const RobotRunSettings& settings, double noisePercent,
                                          const BitString& chromosome, const ksim::Arena& arena,
                                          const std::vector<ksim::Pose>& starts);

struct AssessmentFigures {
    uint32_t runs = 0;
    double mean = 0.0;
    double worst = 0.0;
    uint32_t stalled = 0;
    uint32_t contact = 0;

    bool Passes() const { return runs > 0 && mean >= AssessmentPassMean && stalled == 0; }
};

AssessmentFigures FiguresOf(const std::vector<AssessedRun>& runs);
