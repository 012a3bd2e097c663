#pragma once
// Records of the fitness history.
#include <cstdint>
#include <vector>

// One evaluated generation: its number and the fitness of every individual,
// in population (or file) order.
struct GAData {
    int32_t generation = 0;
    std::vector<double> values;
};

// Statistics of one GAData record.
struct GAFitInfo {
    double max = 0.0;
    double average = 0.0;
    double min = 0.0;
    int32_t generation = 0;
};
