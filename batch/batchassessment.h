#pragma once
// --assess N: a controller driven from N fixed start places in each
// assessment arena (robotassessment.h), the figures per arena, the rows of
// the --assessment file and the lines of the summary. The places depend only
// on --assess-seed, the arena and N, so every controller of a batch, of any
// run, thread or invocation, is assessed from the same places.
#include "batchsetup.h"
#include "robotassessment.h"

#include <string>
#include <vector>

struct ArenaAssessment {
    std::vector<AssessedRun> runs; // one per start place
    AssessmentFigures figures;
};

struct ControllerAssessment {
    std::vector<ArenaAssessment> arenas; // in the order of setup.robot->assessArenas
    bool PassesEvery() const;
};

// Assesses the controller `chromosome` on `pal` by setup's options.
ControllerAssessment AssessControllerOf(const BatchSetup& setup, const PalConfig& pal, const BitString& chromosome);

// The fittest individual of `ga` (the first of equals).
uint32_t FittestIndex(const GA& ga);

// The --assessment file: its header, and the rows of one controller, named
// by `label` ("3,4": run and seed; or a population file's name), "\n" ended.
std::string AssessmentHeader(bool files);
std::string AssessmentRows(const BatchSetup& setup, const std::string& label, const ControllerAssessment& assessment);
// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// The summary's lines: what was assessed, then per arena how many
// controllers pass and the spread of their figures, and how many pass in
// every arena. `labels` name the controllers in per-controller lines (files
// only; empty for runs).
std::string AssessmentText(const BatchSetup& setup, const std::vector<const ControllerAssessment*>& assessments,
    const std::vector<std::string>& labels);
