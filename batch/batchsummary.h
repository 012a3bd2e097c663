#pragma once
// The short report orvik-batch prints at the end: how many runs reached the
// maximum fitness and the spread of the generations they needed.
#include "batchrun.h"

#include <string>
#include <vector>

// Smallest value, quartiles and largest value of a sample. The quartiles
// interpolate linearly between the sorted values (the default of R's
// quantile() and of NumPy's percentile()), so the median of an even count is
// the mean of the middle two.
struct Spread {
    double min = 0.0;
    double q1 = 0.0;
    double median = 0.0;
    double q3 = 0.0;
    double max = 0.0;
};
// `values` must not be empty.
Spread SpreadOf(std::vector<double> values);

// The report, several lines, each ended by "\n".
std::string SummaryText(const BatchSetup& setup, const std::vector<RunResult>& results);
