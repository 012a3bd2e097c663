#pragma once
// ReadableFitness as the widgets take it.
#include "readablefitness.h"

#include <QString>

inline QString FitnessText(double value) { return QString::fromStdString(ReadableFitness(value)); }
