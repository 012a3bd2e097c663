#pragma once
// A fitness value as a person reads it: at most four decimals, trailing
// zeros dropped ("48", "47.5", "0.9802", "0.495"). For what the window and
// orvik-batch show; files that are read back keep every digit
// (statisticsfile.h, the population files).
#include <string>

std::string ReadableFitness(double value);
